#include "tray/win/tray_session.h"

#include "middleware/typelib/quillfern_ids.h"

namespace quill::tray {
namespace {

template <class Source>
IConnectionPoint* FindPoint(Source* source, REFIID events, com::ComPtr<IConnectionPoint>& point) {
  if (!source) return nullptr;
  com::ComPtr<IConnectionPointContainer> container;
  if (FAILED(source->QueryInterface(IID_IConnectionPointContainer, container.PutVoid())) || !container) return nullptr;
  if (FAILED(container->FindConnectionPoint(events, point.Put()))) return nullptr;
  return point.Get();
}

}  // namespace

bool TraySession::Probe() {
  Drop();
  connection_.Open(QUILLFERN_PID);
  return connection_.mainConnected != 0;
}

void TraySession::OpenTrayInterfaces() {
  IDeviceType* device = connection_.mainDevice.Get();
  if (!device) return;
  deviceOpenedForEvents_ = SUCCEEDED(device->OpenDeviceInterface(QUILLFERN_PID));
  device->CreateOTFSInterface(otfs_.Put());
  if (SUCCEEDED(device->CreateMeridexInterface(meridex_.Put())) && meridex_) {
    com::ComPtr<IUnknown> manager;
    win::CreatedAs(meridex_->CreateInterfaceInstance(IID_IMeridexProfileManager, manager.Put()), manager, trayManager_);
  }
  if (trayManager_ && SUCCEEDED(trayManager_->GetActiveProfile(activeProfile_.Put())) && activeProfile_) {
    com::ComPtr<IUnknown> part;
    win::CreatedAs(activeProfile_->CreateSubInterface(IID_IDpi, part.Put()), part, dpi_);
  }
  if (SUCCEEDED(device->CreateDefaultModeInterface(defaultMode_.Put())) && defaultMode_) defaultMode_->Disable();
}

void TraySession::AdviseEvents() {
  if (sink_) UnadviseEvents();
  sink_ = new CSink(owner_);
  IUnknown* sources[4] = {otfs_.Get(), trayManager_.Get(), dpi_.Get(), meridex_.Get()};
  const IID* events[4] = {&IID__IOTFSEvents, &IID__IMeridexProfileManagerEvents, &IID__IDpiEvents, &IID__IMeridexEvents};
  for (size_t i = 0; i < 4; ++i) {
    cookies_[i] = 0;
    com::ComPtr<IConnectionPoint> point;
    if (IConnectionPoint* p = FindPoint(sources[i], *events[i], point))
      p->Advise(static_cast<_IOTFSEvents*>(sink_), &cookies_[i]);
  }
  LoadDpiTable();
}

void TraySession::LoadDpiTable() {
  if (!meridex_) return;
  com::ComPtr<IMeridexDpiTable> table;
  if (FAILED(meridex_.As(table)) || !table) return;
  if (defaultMode_) defaultMode_->EnableDownloadMode();
  table->LoadDpiTable();
  if (defaultMode_) defaultMode_->DisableDownloadMode();
}

void TraySession::UnadviseEvents() {
  IUnknown* sources[4] = {otfs_.Get(), trayManager_.Get(), dpi_.Get(), meridex_.Get()};
  const IID* events[4] = {&IID__IOTFSEvents, &IID__IMeridexProfileManagerEvents, &IID__IDpiEvents, &IID__IMeridexEvents};
  for (size_t i = 0; i < 4; ++i) {
    if (!cookies_[i]) continue;
    com::ComPtr<IConnectionPoint> point;
    if (IConnectionPoint* p = FindPoint(sources[i], *events[i], point)) p->Unadvise(cookies_[i]);
    cookies_[i] = 0;
  }
  if (sink_) {
    sink_->Detach();  // a source that kept it cannot call into the tray any more
    sink_->Release();
    sink_ = nullptr;
  }
}

void TraySession::ReleaseTrayInterfaces() {
  if (deviceOpenedForEvents_ && connection_.mainDevice) connection_.mainDevice->CloseDeviceInterface();
  deviceOpenedForEvents_ = false;
  if (sink_) UnadviseEvents();
  trayManager_.Reset();
  dpi_.Reset();
  activeProfile_.Reset();
  meridex_.Reset();
  defaultMode_.Reset();
  otfs_.Reset();
}

void TraySession::Drop() {
  UnadviseEvents();
  ReleaseTrayInterfaces();
  connection_.Release();
}

bool TraySession::MiddlewareIdle() {
  HMODULE module = GetModuleHandleW(L"TorvoMiddlewareServer.dll");
  if (!module) return true;
  using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();
  auto canUnload = reinterpret_cast<CanUnloadFn>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  return !canUnload || canUnload() == S_OK;
}

bool TraySession::StillConnected() {
  if (!connection_.mainDevice) return false;
  LONG connected = 0;
  return SUCCEEDED(connection_.mainDevice->IsConnected(&connected)) && connected != 0;
}

}  // namespace quill::tray
