#include "ui/bilingual_po_controller.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStringList>

#include "cli/archive_edits.h"
#include "cli/bilingual_po.h"
#include "cli/po_file.h"
#include "jobs/qt_strings.h"
#include "lgp/printable_name.h"
#include "lgp/safe_file_writer.h"
#include "ui/archive_session.h"
#include "ui/interface_texts.h"
#include "ui/main_menu.h"
#include "ui/translation_marks.h"

using Command = TMainMenu::Command;

namespace {

const QString kExtension = QStringLiteral(".po");

// A text whose edit an import took, with its bytes before.
struct TakenText {
    int subFile;
    std::size_t text;
    std::vector<std::uint8_t> before;
};

// "level NAME, text N" with N from 1, as the core names the places it leaves out.
QString PlaceName(const TLGPSubFile& level, std::size_t text) {
    return jobs::fromUtf8("level " + lgp::PrintableName(level.Name) + ", text " +
                          std::to_string(text + 1));
}

}  // namespace

TBilingualPoController::TBilingualPoController(TArchiveSession& session, TMainMenu& menu,
                                               FileChooser chooseFile, ErrorHook showError,
                                               MessageRunner showMessage, QWidget& window)
    : QObject(&window),
      session_(session),
      menu_(menu),
      window_(window),
      chooseFile_(std::move(chooseFile)),
      showError_(std::move(showError)),
      showMessage_(std::move(showMessage)) {
    connect(menu_.action(Command::ExportBilingualPo), &QAction::triggered, this,
            &TBilingualPoController::exportPo);
    connect(menu_.action(Command::ImportBilingualPo), &QAction::triggered, this,
            &TBilingualPoController::importPo);
    connect(&session_.translationMarks(), &TTranslationMarks::originalChanged, this,
            &TBilingualPoController::updateCommands);
    updateCommands();
}

void TBilingualPoController::updateCommands() {
    const bool original = session_.translationMarks().hasOriginal();
    menu_.action(Command::ExportBilingualPo)->setEnabled(original);
    menu_.action(Command::ImportBilingualPo)->setEnabled(original);
}

QString TBilingualPoController::folder() const {
    return QFileInfo(session_.fileName()).absolutePath();
}

QString TBilingualPoController::filter() {
    return ui::InterfaceText("general", "po_files") + QStringLiteral(" (*.po);;") +
           ui::InterfaceText("general", "all_files") + QStringLiteral(" (*)");
}

void TBilingualPoController::exportPo() {
    const TLGPFile* archive = session_.archive();
    const TLGPFile* original = session_.translationMarks().original();
    if (archive == nullptr || original == nullptr || session_.jobRunning()) return;
    QString path = chooseFile_(folder(), filter(), true);
    if (path.isEmpty()) return;
    if (!path.endsWith(kExtension, Qt::CaseInsensitive)) path += kExtension;
    const std::string content = cli::ExportBilingualPo(
        *archive, *original, jobs::toUtf8(QFileInfo(session_.fileName()).fileName()),
        cli::PoRevisionDate(), {});
    try {
        lgp::WriteFileSafely(jobs::toUtf8(path), [&content](std::ostream& out) {
            out.write(content.data(), static_cast<std::streamsize>(content.size()));
        });
    } catch (const std::exception& error) {
        showError_(ui::InterfaceText("messages", "po_not_written"), jobs::fromUtf8(error.what()));
    }
}

void TBilingualPoController::importPo() {
    TLGPFile* archive = session_.archive();
    const TLGPFile* original = session_.translationMarks().original();
    // Replace-all may be changing the texts meanwhile.
    if (archive == nullptr || original == nullptr || session_.jobRunning()) return;
    const QString path = chooseFile_(folder(), filter(), false);
    if (path.isEmpty()) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showError_(ui::InterfaceText("messages", "po_not_read"),
                   path + QStringLiteral(": ") + file.errorString());
        return;
    }
    const QByteArray content = file.readAll();

    cli::OriginalTexts originalTexts(*original);
    QStringList readOnly;
    std::vector<TakenText> taken;
    const auto take = [&](const cli::PoEntry& entry, int subFile, std::size_t text) {
        const TLGPSubFile& level = archive->SubFile(subFile);
        if (session_.isLevelReadOnly(subFile)) {
            readOnly
                << ui::InterfaceText("messages", "po_level_read_only").arg(PlaceName(level, text));
            return false;
        }
        if (!originalTexts.Matches(level.Name, text, entry.id)) return false;
        taken.push_back({subFile, text, level.Texts.at(text).Bytes});
        return true;
    };
    std::optional<cli::ArchiveEdits> edits;
    try {
        edits = cli::ArchiveEdits::FromPo(
            *archive,
            std::string_view(content.constData(), static_cast<std::size_t>(content.size())), false,
            take);
    } catch (const std::exception& error) {
        // The place of a fault in the file (LINE:COLUMN: ...) follows its name, as a compiler
        // writes it.
        showError_(ui::InterfaceText("messages", "po_not_read"),
                   path + QStringLiteral(":") + jobs::fromUtf8(error.what()));
        return;
    }
    // The edits are worked out on the archive itself, then handed to the session with the
    // bytes they replace, which stores them as one step of the history.
    edits->ApplyTo(*archive);
    std::vector<TEditStep::TextChange> changes;
    for (TakenText& text : taken) {
        std::vector<std::uint8_t>& bytes = archive->SubFile(text.subFile).Texts[text.text].Bytes;
        if (bytes == text.before) continue;
        changes.push_back({text.subFile, static_cast<int>(text.text), text.before, bytes});
        bytes = std::move(text.before);
    }
    const auto changed = changes.size();
    session_.storeTexts(std::move(changes));

    QStringList leftOut;
    for (const std::string& place : originalTexts.Changed()) {
        leftOut << ui::InterfaceText("messages", "po_source_changed").arg(jobs::fromUtf8(place));
    }
    leftOut << readOnly;
    for (const std::string& warning : edits->Warnings()) leftOut << jobs::fromUtf8(warning);
    const QLocale locale;
    QMessageBox box(QMessageBox::Information, window_.windowTitle(),
                    ui::InterfaceText("messages", "po_imported")
                        .arg(locale.toString(static_cast<qlonglong>(changed))),
                    QMessageBox::Ok, &window_);
    if (!leftOut.isEmpty()) {
        box.setInformativeText(ui::InterfaceText("messages", "po_left_out"));
        box.setDetailedText(leftOut.join(u'\n'));
    }
    showMessage_(box);
}
