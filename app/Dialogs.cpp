#include "app/Dialogs.h"

#include "app/CheckDialogs.h"

#include <limits>

#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSortFilterProxyModel>

#include "lists/ListSignature.h"

namespace velmar {

int Dialogs::ShowModal(QDialog& dialog) { return dialog.exec(); }

QStringList DialogFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // The description's own bracket, if any, gives way to the patterns.
        const qsizetype bracket = description.lastIndexOf(QLatin1String(" ("));
        if (bracket >= 0 && description.endsWith(QLatin1Char(')'))) description.truncate(bracket);
        QStringList patterns;
        for (QString pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        filters << description + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

namespace {

// Qt's own dialog writes every selected name, quoted, into its name box,
// and takes the chosen files back from there. A line edit holds 32,767
// characters unless told otherwise: a few thousand files selected with
// Ctrl+A overflow it, the last name is cut, and Open does nothing.
void LiftNameBoxLimit(QFileDialog& dialog) {
    for (QLineEdit* box : dialog.findChildren<QLineEdit*>()) box->setMaxLength(std::numeric_limits<int>::max());
}

// A dialog's files less the signature files ("SHA256SUMS.sign" matches
// "SHA256SUMS*"): a list is checked with its signature, never instead of it.
class SignatureFilesHidden : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files) return true;
        const QModelIndex index = files->index(row, 0, parent);
        return files->isDir(index) || !IsSignatureFile(QFile::encodeName(files->filePath(index)).toStdString());
    }
};

}  // namespace

std::optional<std::vector<std::string>> QtDialogs::OpenFiles(QWidget* parent, const OpenFileRequest& request) {
    QFileDialog dialog(parent, QString::fromStdString(request.title));
    dialog.setOptions(QFileDialog::DontResolveSymlinks | QFileDialog::ReadOnly);
    if (request.hidesSignatures) {
        // Only Qt's own dialog takes a filter of its files.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setProxyModel(new SignatureFilesHidden(&dialog));
    }
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setSizeGripEnabled(true);
    const QStringList filters = DialogFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    LiftNameBoxLimit(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::vector<std::string> paths;
    for (const QString& path : dialog.selectedFiles()) paths.push_back(QFile::encodeName(path).toStdString());
    if (paths.empty()) return std::nullopt;
    return paths;
}

std::optional<std::string> QtDialogs::OpenFolder(QWidget* parent, const std::string& title) {
    QFileDialog dialog(parent, QString::fromStdString(title));
    // The folder a link names is the one the user pointed at; the walk then
    // follows no link to a folder inside it.
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks | QFileDialog::ReadOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

std::optional<std::string> QtDialogs::SaveFile(QWidget* parent, const OpenFileRequest& request,
                                               const std::string& suggested) {
    QFileDialog dialog(parent, QString::fromStdString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setSizeGripEnabled(true);
    const QStringList filters = DialogFilters(request.filter);
    dialog.setNameFilters(filters);
    // A name typed without an extension takes the chosen filter's.
    const auto suffixOf = [](const QString& filter) {
        const qsizetype dot = filter.indexOf(QLatin1String("*."));
        const qsizetype end = filter.indexOf(QRegularExpression(QStringLiteral("[ );]")), dot);
        return dot < 0 || filter.mid(dot + 2, end - dot - 2) == QLatin1String("*") ? QString()
                                                                                  : filter.mid(dot + 2, end - dot - 2);
    };
    if (!filters.isEmpty()) dialog.setDefaultSuffix(suffixOf(filters.front()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffixOf](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(suggested)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

MessageAnswer QtDialogs::Message(QWidget* parent, const std::string& text, MessageButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Velmar"), QFile::decodeName(QByteArray::fromStdString(text)),
                    buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    const int answer = box.exec();
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::optional<FileCheckRequest> QtDialogs::FileCheck(QWidget* parent, const FileCheckRequest& given) {
    return AskFileCheck(parent, QGuiApplication::clipboard()->text().toStdString(), given);
}

std::optional<std::string> QtDialogs::ListKind(QWidget* parent, const std::vector<std::string>& kinds) {
    QStringList names;
    for (const std::string& kind : kinds) names << QString::fromStdString(kind);
    bool chosen = false;
    const QString kind = QInputDialog::getItem(parent, QStringLiteral("Velmar"), QStringLiteral("Create which list?"),
                                               names, 0, false, &chosen);
    if (!chosen) return std::nullopt;
    return kind.toStdString();
}

std::optional<std::array<std::string, 2>> QtDialogs::FilesToCompare(QWidget* parent) { return AskFilesToCompare(parent); }

}  // namespace velmar
