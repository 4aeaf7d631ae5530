// Lets a test make a file unreadable or a folder unwritable even when the
// suite runs as root, who otherwise reads and writes anything: while an
// EnforcedPermissions lives, the calling thread's capabilities to override
// file permissions are suspended (they stay permitted and come back when it
// goes). Other threads keep theirs.
#pragma once
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <initializer_list>

class EnforcedPermissions {
 public:
  EnforcedPermissions() {
    if (syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
      reduced[cap / 32].effective &= ~(1u << (cap % 32));
    active_ = syscall(SYS_capset, &header_, reduced) == 0;
  }
  ~EnforcedPermissions() {
    if (active_) syscall(SYS_capset, &header_, saved_);
  }
  EnforcedPermissions(const EnforcedPermissions&) = delete;
  EnforcedPermissions& operator=(const EnforcedPermissions&) = delete;

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
  bool active_ = false;
};
