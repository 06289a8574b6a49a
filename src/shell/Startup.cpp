#include "shell/Startup.h"

// Placeholder until the frame and splash land.
void Main() {}
