// Names and identifiers of the server module that the type library does not carry.
#pragma once
#include <windows.h>

#include "middleware/typelib/quillfern_ids.h"

namespace quill::server {

// AppID of the server; its key's default value is the project name.
inline constexpr GUID kAppId = {0x3D6D4B90, 0x42DA, 0x49C5, {0x96, 0xF3, 0x9D, 0xCA, 0xB4, 0x6B, 0xBE, 0xF4}};
inline constexpr wchar_t kAppIdText[] = L"{3D6D4B90-42DA-49C5-96F3-9DCAB46BBEF4}";
inline constexpr wchar_t kProjectName[] = L"TorvoMiddlewareServer";
inline constexpr wchar_t kModuleFileName[] = L"TorvoMiddlewareServer.DLL";

inline constexpr wchar_t kClassDescription[] = L"DeviceEnumeration Class";
inline constexpr const wchar_t* kProgId = kDeviceEnumerationProgId;
inline constexpr wchar_t kVersionIndependentProgId[] = L"Server.DeviceEnumeration";
inline constexpr wchar_t kThreadingModel[] = L"Apartment";

}  // namespace quill::server
