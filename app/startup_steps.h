// Marks the steps of the main window's start (the form resource's parts,
// detection, the skin, the tray icons) so that the start-up benchmark can
// tell where the time goes. Nothing is kept unless a listener is installed.
#pragma once

class TStartupListener {
public:
    virtual ~TStartupListener() = default;
    // Called at the end of each step, with the step's name.
    virtual void StepDone(const char* Step) = 0;
};

// Null removes the listener.
void SetStartupListener(TStartupListener* Listener);
void StartupStepDone(const char* Step);
