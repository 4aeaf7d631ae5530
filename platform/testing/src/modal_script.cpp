// Modal dialogs answered from a script inside their real loops.
#include "platform/testing/modal_script.h"

#include <QTimer>

#include <gtest/gtest.h>

#include "platform/gbk.h"

namespace platform::testing {

ScopedModalScript::ScopedModalScript(std::initializer_list<Step> steps)
    : steps_(steps), previous_(platform::SetModalHook(this)) {}

ScopedModalScript::~ScopedModalScript() {
  platform::SetModalHook(previous_);
  if (next_ < steps_.size())
    ADD_FAILURE() << (steps_.size() - next_) << " expected modal dialog(s) never shown";
}

void ScopedModalScript::OnModalLoop(CDialog* dialog) {
  ++shown_;
  if (next_ >= steps_.size()) {
    ADD_FAILURE() << "unexpected modal dialog \""
                  << platform::GbkToUtf8(dialog->GetWindowTextString()) << "\"";
    dialog->EndDialog(IDCANCEL);
    return;
  }
  const Step step = steps_[next_++];
  step(*dialog);
  if (!dialog->IsInModalLoop()) return;
  // The step left it open (it may end later on a message): bound the wait.
  const int run = dialog->ModalCount();
  QTimer::singleShot(leftOpenMs_, dialog, [dialog, run] {
    if (!dialog->IsInModalLoop() || dialog->ModalCount() != run) return;
    ADD_FAILURE() << "modal dialog \"" << platform::GbkToUtf8(dialog->GetWindowTextString())
                  << "\" left open by its step";
    dialog->EndDialog(IDCANCEL);
  });
}

}  // namespace platform::testing
