// The handler the UI layer installs for questions to the user.
#include "env/UserPrompt.h"

#include <utility>

namespace zb {

namespace {

TAskUserHandler& Handler()
{
    static TAskUserHandler handler;
    return handler;
}

}  // namespace

TAskUserHandler SetAskUserHandler(TAskUserHandler handler) { return std::exchange(Handler(), std::move(handler)); }

TUserAnswer AskUser(const TUserQuestion& question)
{
    const TAskUserHandler& handler = Handler();
    return handler ? handler(question) : question.NonInteractive;
}

}  // namespace zb
