#include "platform/state/AppState.h"

namespace {
AppState &instance()
{
    static AppState state;
    return state;
}
} // namespace

AppState &App()
{
    return instance();
}

void resetApp()
{
    instance() = AppState();
}
