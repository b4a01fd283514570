// Velmar's entry point: the application, the main window, the About box kept
// hidden until asked for, the event loop. The result is 0 whatever happens.
#include <exception>

#include <QApplication>
#include <QMessageBox>

#include "app/Unit1.h"
#include "app/Unit2.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmar"));
    try {
        velmar::TForm1::Options options;
        options.arguments = QApplication::arguments();
        velmar::TForm1 form1(std::move(options));
        velmar::TForm2 form2(&form1);
        form2.onActivated = [&form1] { form1.OtherFormActivated(); };
        form1.show();
        QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Velmar"), QString::fromLocal8Bit(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QStringLiteral("Velmar"), QStringLiteral("Unknown error"));
    }
    return 0;
}
