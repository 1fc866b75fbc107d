// Draws the program's SVG icons into a C++ source file of pixels while the program is built, so
// that the window draws its icons without loading an SVG renderer or an image reader.
//
// Usage: kalendra_iconraster OUTPUT.cpp SIZES PROGRAM_SIZES FILE.svg...
// SIZES ("16,20,32") are drawn for every icon, PROGRAM_SIZES also for "program" (the window's
// icon, drawn large by window managers). Each picture is scaled into its square as the SVG icon
// engine scales it; an icon that is not square is refused. Writes the table of
// platform/qt/IconPixels.h; exits 1 with the reason when a file cannot be read or written.
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

int fail(const QString& what)
{
    std::fprintf(stderr, "kalendra_iconraster: %s\n", qPrintable(what));
    return 1;
}

QList<int> sizesOf(const QString& list)
{
    QList<int> sizes;
    for (const QString& size : list.split(',', Qt::SkipEmptyParts))
        sizes.append(size.toInt());
    return sizes;
}

QImage drawn(QSvgRenderer& renderer, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// The bytes as a string literal, in lines of 32.
QByteArray literal(const QByteArray& bytes)
{
    QByteArray text = "    \"";
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0 && i % 32 == 0)
            text += "\"\n    \"";
        text += QByteArray("\\x") + QByteArray::number(static_cast<unsigned char>(bytes[i]), 16).rightJustified(2, '0');
    }
    return text + "\"";
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 5)
        return fail("usage: kalendra_iconraster OUTPUT.cpp SIZES PROGRAM_SIZES FILE.svg...");
    const QList<int> sizes = sizesOf(arguments[2]), programSizes = sizesOf(arguments[3]);

    // size -> (name -> pixels), so that each size's pixels lie together.
    std::map<int, std::map<QString, QByteArray>> pictures;
    for (const QString& file : arguments.mid(4)) {
        QSvgRenderer renderer(file);
        const QSize natural = renderer.defaultSize();
        if (!renderer.isValid() || natural.isEmpty())
            return fail("cannot read " + file);
        if (natural.width() != natural.height())
            return fail(file + " is not square");
        const QString name = QFileInfo(file).completeBaseName();
        QList<int> wanted = sizes;
        if (name == "program")
            wanted += programSizes;
        for (int size : wanted) {
            const QImage image = drawn(renderer, size);
            pictures[size][name] = QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
        }
    }

    QByteArray source = "// Made by tools/iconraster from data/icons while building; not to be edited.\n"
                        "#include \"platform/qt/IconPixels.h\"\n\nnamespace kal::qt {\nnamespace {\n\n";
    QByteArray table;
    for (const auto& [size, named] : pictures) {
        QByteArray bytes;
        for (const auto& [name, pixels] : named) {
            table += QString("    {\"%1\", %2, kPixels%2 + %3},\n").arg(name).arg(size).arg(bytes.size()).toUtf8();
            bytes += pixels;
        }
        source += "alignas(4) constexpr char kPixels" + QByteArray::number(size) + "[] =\n" + literal(bytes) + ";\n\n";
    }
    // The table grouped by name.
    QList<QByteArray> rows = table.split('\n');
    rows.removeAll(QByteArray());
    std::sort(rows.begin(), rows.end());
    source += "constexpr IconPixels kTable[] = {\n" + rows.join('\n') +
              "\n};\n\n} // namespace\n\n"
              "std::span<const IconPixels> iconPixels()\n{\n    return kTable;\n}\n\n} // namespace kal::qt\n";

    QFile output(arguments[1]);
    if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate) || output.write(source) != source.size())
        return fail("cannot write " + arguments[1]);
    return 0;
}
