// Velmar's entry point: the application, the main window, the About box kept
// hidden until asked for, the event loop. The result is 0 whatever happens
// once the window is up; arguments it cannot take are refused before, with
// status 2.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include <QApplication>
#include <QMessageBox>

#include "app/Unit1.h"
#include "app/WindowArguments.h"
#include "app/Unit2.h"
#include "desktop/ThunarActions.h"

int main(int argc, char** argv) {
    // Answered before Qt is started, so they work without a display.
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(velmar::WindowUsage, stdout);
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("velmar " VELMAR_VERSION);
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "--add-thunar-actions") == 0) {
        const velmar::ThunarActionsResult result = velmar::AddThunarActions(velmar::DesktopPlaces::FromEnvironment());
        const bool written = result.outcome != velmar::ThunarActionsResult::Outcome::NotWritten;
        std::fprintf(written ? stdout : stderr, "%s\n", velmar::ThunarActionsMessage(result).c_str());
        return written ? 0 : 1;
    }
    QApplication application(argc, argv);
    // Refused before any window shows.
    if (const std::string refusal = velmar::TForm1::StartFrom(QApplication::arguments()).refusal; !refusal.empty()) {
        std::fprintf(stderr, "velmar: %s\n\n%s", refusal.c_str(), velmar::WindowUsage);
        return 2;
    }
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
