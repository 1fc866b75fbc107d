// The window edge of the text layer: Shift-JIS bytes and UTF-8 to QString and back, and the
// stored colour and font values to Qt's.
#pragma once

#include "platform/Platform.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace kal::qt {

QString fromSjis(std::string_view sjisText);
QString fromUtf8(std::string_view utf8Text);
std::string toUtf8(const QString& text);

// Nothing when the text holds a character that Shift-JIS cannot store.
std::optional<std::string> toSjis(const QString& text);
// For texts already checked by the editors' validators.
std::string toSjisLossy(const QString& text);
int sjisByteLength(const QString& text);

QColor toQColor(ColorValue value);
ColorValue fromQColor(const QColor& color);

QFont toQFont(const FontSpec& fontSpec);
FontSpec fromQFont(const QFont& font, ColorValue color = 0);

} // namespace kal::qt
