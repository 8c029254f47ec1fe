#pragma once

#include <QUrl>
#include <functional>

class QQuickWindow;

// Runs the whole program around the window document at `document` and returns the
// process exit status: the event loop's status, or -1 when the document has errors or
// its root is not a window. `onWindowReady` runs once the window exists, before the
// event loop starts; the program passes none, tests use it to look at the window. With
// `readArguments` the arguments are the program's own (see commandline.h). Once
// the event loop has ended the process ends within a short time, so callers return the
// status from main() at once.
int runApplication(int &argc, char **argv, const QUrl &document,
                   const std::function<void(QQuickWindow &)> &onWindowReady = {},
                   bool readArguments = false);
