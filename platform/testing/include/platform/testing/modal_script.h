// Answers modal dialogs inside their real loops: one step per expected
// DoModal, run once the dialog's loop is running. A step works the dialog
// as a user would (FindCtl, ClickCtl, QTest) and may open further dialogs,
// whose DoModal takes the next step. A modal dialog nobody expected ends
// with IDCANCEL and fails the test, as does a step that leaves its dialog
// open past a generous bound, or steps left over at the end of the scope.
#pragma once
#include <functional>
#include <initializer_list>
#include <vector>

#include "platform/dialog.h"

namespace platform::testing {

class ScopedModalScript : public platform::ModalHook {
 public:
  using Step = std::function<void(CDialog&)>;
  explicit ScopedModalScript(std::initializer_list<Step> steps);
  ~ScopedModalScript() override;
  ScopedModalScript(const ScopedModalScript&) = delete;
  ScopedModalScript& operator=(const ScopedModalScript&) = delete;

  // How long a dialog may stay open after its step returned (10 s).
  void SetLeftOpenLimit(int ms) { leftOpenMs_ = ms; }
  // Modal dialogs shown so far.
  int Shown() const { return shown_; }

  void OnModalLoop(CDialog* dialog) override;

 private:
  std::vector<Step> steps_;
  size_t next_ = 0;
  int shown_ = 0;
  int leftOpenMs_ = 10000;
  platform::ModalHook* previous_;
};

}  // namespace platform::testing
