#pragma once

#include <functional>

class QWidget;

// Shows the save window modally over `parent` for the body in TestoMessaggi
// and the comment in CommentoDaSalvare, and returns once it is closed. The
// main window hands it to the windows that offer a body for saving, so that
// they need not know the save window.
using SaveWindowOpener = std::function<void(QWidget* parent)>;
