#pragma once

// The keyboard's lock states. Read from the X keyboard extension when the program runs on X11;
// elsewhere (or when the server does not answer) the states are those tracked from key presses
// with noteKeyPress().
namespace KeyboardState {

struct Locks
{
    bool numLock = false;
    bool capsLock = false;
    bool scrollLock = false;
};

Locks locks();
// Follows a press of a lock key (Qt::Key value) where the system cannot be asked.
void noteKeyPress(int qtKey);

} // namespace KeyboardState
