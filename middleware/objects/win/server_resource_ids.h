// Resource identifiers of TorvoMiddlewareServer.dll (shared by the .rc and the code).
#pragma once
#define IDS_PROJNAME 100
