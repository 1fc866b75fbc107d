// The baseline of the start-up measurement: the least a Qt Widgets program does before its first
// window is mapped, with the same title so that the same script can wait for it. Its label is in
// Japanese, as every window of a program for Japanese users is: it loads a Japanese face.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label(QString::fromUtf8("Kalendra 予定表"));
    label.setWindowTitle(QStringLiteral("Kalendra"));
    label.resize(640, 480);
    label.show();
    return app.exec();
}
