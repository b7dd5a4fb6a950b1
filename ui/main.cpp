#include <QApplication>
#include <QString>

#include "platform/program_version.h"
#include "ui/main_form.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    application.setApplicationName(
        QString::fromUtf8(platform::kProgramName.data(), platform::kProgramName.size()));
    TMainForm mainForm(QApplication::arguments().mid(1));
    mainForm.show();
    return QApplication::exec();
}
