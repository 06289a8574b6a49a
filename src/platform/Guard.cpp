#include "platform/Guard.h"

#include "platform/FwError.h"

#include <exception>
#include <optional>

void showFailure(const QString &description, Prompt::Icon icon)
{
    try {
        Prompt::MsgBox(description, Prompt::Buttons::OK, icon, icon == Prompt::Icon::None ? QString() : Prompt::kTitle);
    } catch (...) {
        // A box that cannot be shown must not take the program down.
    }
}

bool runGuarded(const std::function<void()> &body, Prompt::Icon icon, const std::function<void()> &onFailure)
{
    std::optional<QString> failure;
    try {
        body();
    } catch (const std::exception &e) {
        failure = errorDescription(e);
    } catch (...) {
        failure = FwError::standardDescription(0);
    }
    if (!failure)
        return true;
    if (onFailure) {
        try {
            onFailure();
        } catch (...) {
            // The undo of a failed step is done as far as it goes; the
            // failure itself is what the user is told about.
        }
    }
    showFailure(*failure, icon);
    return false;
}

bool runGuarded(QWidget *over, const std::function<void()> &body, Prompt::Icon icon,
                const std::function<void()> &onFailure)
{
    PromptsOver boxesOver(over);
    return runGuarded(body, icon, onFailure);
}
