#include "platform/KeyboardState.h"

#include <QGuiApplication>

#if defined(LUMARO_HAVE_X11)
#include <X11/XKBlib.h>
#endif

namespace {

KeyboardState::Locks &tracked()
{
    static KeyboardState::Locks locks;
    return locks;
}

#if defined(LUMARO_HAVE_X11)
// The indicator bits by their names, as the server names them.
bool indicator(Display *display, unsigned int state, const char *name)
{
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None)
        return false;
    int index = -1;
    if (!XkbGetNamedIndicator(display, atom, &index, nullptr, nullptr, nullptr) || index < 0)
        return false;
    return (state >> index) & 1u;
}
#endif

} // namespace

KeyboardState::Locks KeyboardState::locks()
{
#if defined(LUMARO_HAVE_X11)
    if (auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        Display *display = x11->display();
        unsigned int state = 0;
        if (display && XkbGetIndicatorState(display, XkbUseCoreKbd, &state) == Success) {
            Locks locks;
            locks.capsLock = indicator(display, state, "Caps Lock");
            locks.numLock = indicator(display, state, "Num Lock");
            locks.scrollLock = indicator(display, state, "Scroll Lock");
            return locks;
        }
    }
#endif
    return tracked();
}

void KeyboardState::noteKeyPress(int qtKey)
{
    Locks &locks = tracked();
    switch (qtKey) {
    case Qt::Key_NumLock:
        locks.numLock = !locks.numLock;
        break;
    case Qt::Key_CapsLock:
        locks.capsLock = !locks.capsLock;
        break;
    case Qt::Key_ScrollLock:
        locks.scrollLock = !locks.scrollLock;
        break;
    default:
        break;
    }
}
