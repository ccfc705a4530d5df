#include "platform/ui/UserAgent.h"

#include "platform/core/TextUtils.h"
#include "platform/core/TypInfo.h"

namespace zb {

TUserAgent::~TUserAgent() = default;

TScriptedAgent& TScriptedAgent::Then(std::string formMatch, Step step, std::string description) {
    steps_.push_back({std::move(formMatch), std::move(step), description.empty() ? "step" : std::move(description)});
    return *this;
}

TScriptedAgent& TScriptedAgent::Answer(std::string formMatch, TModalResult result) {
    return Then(
        std::move(formMatch), [result](TCustomForm& form) { form.SetModalResult(result); },
        "answer " + std::to_string(result));
}

TScriptedAgent& TScriptedAgent::Click(std::string formMatch, std::string componentName) {
    return Then(
        std::move(formMatch),
        [componentName](TCustomForm& form) {
            auto* control = dyn_cast<TControl>(form.FindComponent(componentName));
            if (!control) throw EComponentError("The form has no control " + componentName);
            control->Click();
        },
        "click " + componentName);
}

TScriptedAgent& TScriptedAgent::SetText(std::string formMatch, std::string componentName, std::string text) {
    return Then(
        std::move(formMatch),
        [componentName, text](TCustomForm& form) {
            auto* control = dyn_cast<TControl>(form.FindComponent(componentName));
            if (!control) throw EComponentError("The form has no control " + componentName);
            control->SetText(text);
        },
        "set text of " + componentName);
}

bool TScriptedAgent::Turn(TCustomForm& form) {
    if (steps_.empty()) return false;
    const Entry& next = steps_.front();
    if (!next.match.empty() && !SameText(next.match, form.Name()) && !SameText(next.match, form.ClassName()))
        return false;
    Entry entry = std::move(steps_.front());
    steps_.pop_front();
    log_.push_back((form.Name().empty() ? form.ClassName() : form.Name()) + ": " + entry.description);
    entry.step(form);
    return true;
}

TUserAgentScope::TUserAgentScope(TUserAgent* agent) : previous_(Application().UserAgent()) {
    Application().SetUserAgent(agent);
}

TUserAgentScope::~TUserAgentScope() { Application().SetUserAgent(previous_); }

}  // namespace zb
