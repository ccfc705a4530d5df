// The one place where units below the user interface ask the person at the
// screen something. The UI layer installs the handler; until it does, every
// question gets its non-interactive answer, so nothing waits for a user who
// is not there.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zb {

enum class TUserAnswer { Ok, Abort, Retry };
enum class TUserPromptKind { Information, Error };

struct TUserQuestion {
    TUserPromptKind Kind = TUserPromptKind::Information;
    std::string Text;
    std::vector<TUserAnswer> Buttons;             // in the order they are offered
    TUserAnswer NonInteractive = TUserAnswer::Ok;  // the answer when nobody can be asked
};

using TAskUserHandler = std::function<TUserAnswer(const TUserQuestion&)>;

// Installs (or, with an empty handler, removes) the handler; returns the one before.
TAskUserHandler SetAskUserHandler(TAskUserHandler handler);
// The handler's answer; the question's NonInteractive answer without a handler.
TUserAnswer AskUser(const TUserQuestion& question);

}  // namespace zb
