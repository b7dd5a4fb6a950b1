#include <QApplication>
#include <QGuiApplication>
#include <QString>

#include "jobs/qt_strings.h"
#include "platform/new_file.h"
#include "platform/program_version.h"
#include "ui/main_form.h"

int main(int argc, char* argv[]) {
    // A file-size limit makes a write fail with an error instead of ending the program.
    platform::IgnoreFileSizeSignal();
    QApplication application(argc, argv);
    application.setApplicationName(
        jobs::fromUtf8(platform::kProgramName));
    // Desktops (Wayland's above all) find the installed .desktop file, and its icon, by this name.
    QGuiApplication::setDesktopFileName(
        jobs::fromUtf8(platform::kApplicationId));
    TMainForm mainForm(QApplication::arguments().mid(1));
    mainForm.show();
    return QApplication::exec();
}
