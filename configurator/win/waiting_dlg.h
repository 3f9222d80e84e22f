// CWaitingDlg: the box shown while the worker reads or writes, on a thread of its own so the
// main thread stays responsive. The thread disables the main dialog, runs the box modally and
// enables the dialog again; a 10 ms timer closes the box (after its delay) once the command word
// is back at 0.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>

#include "configurator/kit/win/message_box.h"
#include "configurator/waiting_box.h"
#include "configurator/worker_command.h"
#include "winsupport/handles.h"

namespace quill::cfg::win {

class CWaitingDlg : public kit::win::CBitmapMessageBox {
 public:
  CWaitingDlg(std::wstring title, std::wstring text, const WorkerCommand& command)
      : CBitmapMessageBox(std::move(title), std::move(text)), command_(command) {}

  // Private message that ends the box at once (the dialog is closing).
  static constexpr UINT kEndNow = WM_APP + 40;

 protected:
  bool OnInit() override;
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  const WorkerCommand& command_;
  WaitingBox box_;
};

// The thread of one waiting box at a time.
class WaitingBoxThread {
 public:
  WaitingBoxThread() = default;
  ~WaitingBoxThread() { Finish(); }
  WaitingBoxThread(const WaitingBoxThread&) = delete;
  WaitingBoxThread& operator=(const WaitingBoxThread&) = delete;

  // Shows a box over owner; a box still shown is finished first.
  bool Start(HWND owner, std::wstring title, std::wstring text, const WorkerCommand& command);
  // Ends a box still shown and waits (dispatching this thread's messages) for its thread.
  void Finish();
  // The box's window while it is shown, else null (for tests and screenshots).
  HWND box() const { return box_.load(); }

 private:
  struct Job;
  static DWORD WINAPI ThreadMain(void* job);

  quill::win::KernelHandle thread_;
  std::atomic<HWND> box_{nullptr};
};

}  // namespace quill::cfg::win
