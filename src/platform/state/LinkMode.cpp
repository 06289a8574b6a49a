#include "platform/state/LinkMode.h"

#include "platform/state/AppState.h"
#include "platform/text/NumberText.h"

LinkMode parseLinkMode(const QString &text)
{
    if (!NumText::IsNumeric(text))
        return LinkMode::Normal;
    const double mode = NumText::Val(text);
    if (mode == 1)
        return LinkMode::NewCase;
    if (mode == 2)
        return LinkMode::AwaitRecord;
    return LinkMode::Normal;
}

QString linkModeText(LinkMode mode)
{
    return QString::number(static_cast<int>(mode));
}

LinkMode currentLinkMode()
{
    return parseLinkMode(App().Linked);
}
