#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

QString Clipboard::text() const
{
    return QGuiApplication::clipboard()->text();
}
