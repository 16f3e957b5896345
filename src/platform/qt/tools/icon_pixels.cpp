// Build tool: icon_pixels OUTPUT.cpp NAME=FILE.png...
// Writes the icons' pixels as C++ arrays (ARGB, one 32-bit value per pixel), so the program
// shows its icons without reading an image file: the first image read looks through all of
// Qt's image plugins, which would delay the window.

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[]) {
    const QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: icon_pixels OUTPUT.cpp NAME=FILE.png...\n");
        return 2;
    }
    QString arrays;
    QString table;
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const QString name = arguments[i].section(u'=', 0, 0);
        const QString file = arguments[i].section(u'=', 1);
        const QImage image = QImage(file).convertToFormat(QImage::Format_ARGB32);
        if (image.isNull() || name.isEmpty()) {
            std::fprintf(stderr, "icon_pixels: cannot read %s\n", qPrintable(arguments[i]));
            return 1;
        }
        const QString array = QStringLiteral("kPixelsOf%1").arg(i - 1);
        arrays += QStringLiteral("constexpr std::uint32_t %1[] = {").arg(array);
        for (int y = 0; y < image.height(); ++y) {
            arrays += QStringLiteral("\n   ");
            for (int x = 0; x < image.width(); ++x) {
                arrays += QStringLiteral(" 0x%1,").arg(image.pixel(x, y), 8, 16, QChar(u'0'));
            }
        }
        arrays += QStringLiteral("\n};\n");
        table += QStringLiteral("    {\"%1\", %2, %3, %4},\n")
                     .arg(name)
                     .arg(image.width())
                     .arg(image.height())
                     .arg(array);
    }
    QFile output(arguments[1]);
    if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "icon_pixels: cannot write %s\n", qPrintable(arguments[1]));
        return 1;
    }
    QTextStream(&output) << "// Written by icon_pixels from resources/icons.\n"
                         << "#include \"platform/qt/icon_pixels.h\"\n\n"
                         << "namespace somnar {\nnamespace {\n\n"
                         << arrays << "\nconstexpr IconPixels kIcons[] = {\n"
                         << table << "};\n\n}  // namespace\n\n"
                         << "std::span<const IconPixels> allIconPixels() {\n"
                         << "    return kIcons;\n}\n\n}  // namespace somnar\n";
    return output.error() == QFile::NoError ? 0 : 1;
}
