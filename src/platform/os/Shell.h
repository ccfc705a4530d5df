// Opening a file or address with the desktop's default program.
#pragma once

#include <string>
#include <string_view>

namespace zb {

// The opener program: ZB_SHELL_OPEN when set, else "xdg-open".
std::string ShellOpener();

// Starts the opener with `fileOrUrl` as its one argument, without a shell
// and detached from this process (no child is left to reap). False when the
// text is empty or the opener cannot be started; the opener's own outcome
// is not waited for.
bool ShellExecute(std::string_view fileOrUrl);

}  // namespace zb
