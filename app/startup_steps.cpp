#include "app/startup_steps.h"

namespace {
TStartupListener* listener = nullptr;
}

void SetStartupListener(TStartupListener* Listener) {
    listener = Listener;
}

void StartupStepDone(const char* Step) {
    if (listener) listener->StepDone(Step);
}
