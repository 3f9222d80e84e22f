#include "configurator/win/waiting_dlg.h"

#include <memory>

#include "common/win/program_windows.h"

namespace quill::cfg::win {
namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT_PTR kCloseTimer = 2;

}  // namespace

bool CWaitingDlg::OnInit() {
  const bool result = CBitmapMessageBox::OnInit();
  SetTimer(hwnd(), kTickTimer, kWaitingBoxTimerMs, nullptr);
  return result;
}

bool CWaitingDlg::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_TIMER:
      if (wparam == kTickTimer) {
        switch (box_.Tick(command_.Load())) {
          case WaitingBoxAction::RepaintOwner:
            if (HWND owner = GetWindow(hwnd(), GW_OWNER)) RedrawWindow(owner, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
            break;
          case WaitingBoxAction::Close:
            KillTimer(hwnd(), kTickTimer);
            SetTimer(hwnd(), kCloseTimer, box_.ClosingDelayMs(), nullptr);
            break;
          case WaitingBoxAction::None:
            break;
        }
      } else if (wparam == kCloseTimer) {
        KillTimer(hwnd(), kCloseTimer);
        End(1);
      }
      return true;
    case kEndNow:
      End(1);
      return true;
    case WM_COMMAND:
      // Enter and Escape do not close it: the box goes when the work is done.
      if ((LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) && lparam == 0) return true;
      break;
    default:
      break;
  }
  return CBitmapMessageBox::HandleMessage(message, wparam, lparam, result);
}

struct WaitingBoxThread::Job {
  HWND owner;
  std::wstring title, text;
  const WorkerCommand* command;
  std::atomic<HWND>* box;
};

namespace {

class TrackedWaitingDlg final : public CWaitingDlg {
 public:
  TrackedWaitingDlg(std::wstring title, std::wstring text, const WorkerCommand& command, std::atomic<HWND>& box)
      : CWaitingDlg(std::move(title), std::move(text), command), box_(box) {}

 protected:
  bool OnInit() override {
    const bool result = CWaitingDlg::OnInit();
    box_.store(hwnd());
    return result;
  }
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
    if (message == WM_DESTROY) box_.store(nullptr);
    return CWaitingDlg::HandleMessage(message, wparam, lparam, result);
  }

 private:
  std::atomic<HWND>& box_;
};

}  // namespace

DWORD WINAPI WaitingBoxThread::ThreadMain(void* parameter) {
  std::unique_ptr<Job> job(static_cast<Job*>(parameter));
  try {
    EnableWindow(job->owner, FALSE);
    {
      TrackedWaitingDlg dialog(job->title, job->text, *job->command, *job->box);
      dialog.RunModal(job->owner, WS_POPUP, WS_EX_CONTROLPARENT);
    }
    job->box->store(nullptr);
    EnableWindow(job->owner, TRUE);
  } catch (...) {
    job->box->store(nullptr);
  }
  return 0;
}

bool WaitingBoxThread::Start(HWND owner, std::wstring title, std::wstring text, const WorkerCommand& command) {
  Finish();
  auto job = std::make_unique<Job>(Job{owner, std::move(title), std::move(text), &command, &box_});
  thread_ = quill::win::KernelHandle(CreateThread(nullptr, 0, &WaitingBoxThread::ThreadMain, job.get(), 0, nullptr));
  if (!thread_) return false;
  job.release();
  return true;
}

void WaitingBoxThread::Finish() {
  if (!thread_) return;
  // The box may not exist yet or already be gone: ask until the thread has ended.
  while (!quill::win::PumpingWaitFor(thread_.Get(), 50)) {
    if (HWND box = box_.load()) PostMessageW(box, CWaitingDlg::kEndNow, 0, 0);
    if (WaitForSingleObject(thread_.Get(), 0) == WAIT_OBJECT_0) break;
  }
  thread_.Reset();
}

}  // namespace quill::cfg::win
