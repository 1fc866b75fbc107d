#include "platform/qt/QtText.h"

#include "platform/SjisCodec.h"

namespace kal::qt {

QString fromSjis(std::string_view sjisText)
{
    std::string utf8 = sjis::toUtf8(sjisText);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString fromUtf8(std::string_view utf8Text)
{
    return QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size()));
}

std::string toUtf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

std::optional<std::string> toSjis(const QString& text)
{
    return sjis::fromUtf8(toUtf8(text));
}

std::string toSjisLossy(const QString& text)
{
    return sjis::fromUtf8Lossy(toUtf8(text));
}

int sjisByteLength(const QString& text)
{
    return static_cast<int>(toSjisLossy(text).size());
}

QColor toQColor(ColorValue value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

ColorValue fromQColor(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QFont toQFont(const FontSpec& fontSpec)
{
    QFont font(fromUtf8(fontSpec.name));
    font.setPointSize(fontSpec.size > 0 ? fontSpec.size : 9);
    font.setBold(fontSpec.style == FontStyle::Bold || fontSpec.style == FontStyle::BoldItalic);
    font.setItalic(fontSpec.style == FontStyle::Italic || fontSpec.style == FontStyle::BoldItalic);
    return font;
}

FontSpec fromQFont(const QFont& font, ColorValue color)
{
    FontSpec fontSpec;
    fontSpec.name = toUtf8(font.family());
    fontSpec.size = font.pointSize() > 0 ? font.pointSize() : 9;
    if (font.bold() && font.italic())
        fontSpec.style = FontStyle::BoldItalic;
    else if (font.bold())
        fontSpec.style = FontStyle::Bold;
    else if (font.italic())
        fontSpec.style = FontStyle::Italic;
    fontSpec.color = color;
    return fontSpec;
}

} // namespace kal::qt
