#pragma once

#include <QFontMetricsF>
#include <QString>

// The advance of a text. width() is the measure every Qt 5 has; newer ones call it
// horizontalAdvance() and deprecate the old name.
inline qreal textAdvance(const QFontMetricsF &metrics, const QString &text)
{
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    return metrics.width(text);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
}
