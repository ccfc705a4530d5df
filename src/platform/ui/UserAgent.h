// The headless stand-in for the person at the screen: every turn of a modal
// loop (and of Application().Run) gives the installed agent a turn on the
// form in front. An agent that has nothing to do says so, and the loop ends
// with mrCancel and a diagnostic instead of hanging.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/Forms.h"

namespace zb {

class TUserAgent {
public:
    virtual ~TUserAgent();
    // One turn on `form`, the form whose loop is turning. False when the
    // agent did nothing.
    virtual bool Turn(TCustomForm& form) = 0;
};

// An agent that plays a script: steps run in order, each on the first turn
// whose form matches it (by name or class name, without regard to case; an
// empty match takes any form). A turn whose form the next step does not
// match does nothing, so a script for the wrong form ends that loop.
class TScriptedAgent : public TUserAgent {
public:
    using Step = std::function<void(TCustomForm& form)>;

    TScriptedAgent& Then(std::string formMatch, Step step, std::string description = "");
    // Sets the form's ModalResult.
    TScriptedAgent& Answer(std::string formMatch, TModalResult result);
    // Clicks the component of that name on the form (EComponentError when
    // there is none, handled as an error of the user's action).
    TScriptedAgent& Click(std::string formMatch, std::string componentName);
    // Sets the text of the named control on the form.
    TScriptedAgent& SetText(std::string formMatch, std::string componentName, std::string text);

    bool Turn(TCustomForm& form) override;

    size_t Pending() const { return steps_.size(); }
    // What was done, one line per step: "<form name>: <description>".
    const std::vector<std::string>& Log() const { return log_; }

private:
    struct Entry {
        std::string match;
        Step step;
        std::string description;
    };
    std::deque<Entry> steps_;
    std::vector<std::string> log_;
};

// Installs an agent for a scope and puts the previous one back.
class TUserAgentScope {
public:
    explicit TUserAgentScope(TUserAgent* agent);
    ~TUserAgentScope();
    TUserAgentScope(const TUserAgentScope&) = delete;
    TUserAgentScope& operator=(const TUserAgentScope&) = delete;

private:
    TUserAgent* previous_;
};

}  // namespace zb
