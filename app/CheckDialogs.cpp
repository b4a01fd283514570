#include "app/CheckDialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

#include "checksum/PastedDigest.h"

namespace velmar {
namespace {

std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

// A path typed, picked with Browse..., or dropped on the dialog.
class PathBox : public QWidget {
public:
    PathBox(const QString& title, QWidget* parent) : QWidget(parent), edit_(new QLineEdit(this)) {
        auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(edit_, 1);
        row->addWidget(browse);
        edit_->setMinimumWidth(360);
        connect(browse, &QPushButton::clicked, this, [this, title] {
            const QString chosen = QFileDialog::getOpenFileName(this, title, edit_->text());
            if (!chosen.isEmpty()) edit_->setText(chosen);
        });
    }
    QLineEdit* Edit() const { return edit_; }

private:
    QLineEdit* edit_;
};

// The dialogs' frame: files dropped on it fill the empty boxes first, in
// order, then the last one.
class DropDialog : public QDialog {
public:
    DropDialog(const QString& title, QWidget* parent) : QDialog(parent) {
        setWindowTitle(title);
        setAcceptDrops(true);
    }
    std::vector<QLineEdit*> dropTargets;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (event->mimeData()->hasUrls()) event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override {
        for (const QUrl& url : event->mimeData()->urls()) {
            if (!url.isLocalFile()) continue;
            QLineEdit* target = dropTargets.back();
            for (QLineEdit* box : dropTargets)
                if (box->text().isEmpty()) {
                    target = box;
                    break;
                }
            target->setText(url.toLocalFile());
        }
        event->acceptProposedAction();
    }
};

// Cancel and the button that goes, open only while every box in
// `required` holds a path.
void AddButtons(DropDialog& dialog, QVBoxLayout& layout, const QString& go, std::vector<QLineEdit*> required) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, &dialog);
    QPushButton* goButton = buttons->addButton(go, QDialogButtonBox::AcceptRole);
    goButton->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    const auto allow = [goButton, required] {
        bool filled = true;
        for (QLineEdit* box : required) filled = filled && !box->text().isEmpty();
        goButton->setEnabled(filled);
    };
    for (QLineEdit* box : required) QObject::connect(box, &QLineEdit::textChanged, goButton, allow);
    allow();
    layout.addWidget(buttons);
}

}  // namespace

std::optional<FileCheckRequest> AskFileCheck(QWidget* parent, const std::string& clipboard,
                                             const FileCheckRequest& given) {
    DropDialog dialog(QStringLiteral("Check File"), parent);
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    auto* file = new PathBox(QStringLiteral("Check File: Select the File"), &dialog);
    auto* against = new PathBox(QStringLiteral("Check File: Select the List That Names It"), &dialog);
    against->Edit()->setPlaceholderText(QStringLiteral("paste the digest, or pick the list; empty: show its digests"));
    if (!given.digestOrList.empty()) against->Edit()->setText(QFile::decodeName(QByteArray::fromStdString(given.digestOrList)));
    else if (ParsePastedDigest(clipboard)) against->Edit()->setText(QString::fromStdString(clipboard).trimmed());
    file->Edit()->setText(QFile::decodeName(QByteArray::fromStdString(given.file)));
    form->addRow(QStringLiteral("&File:"), file);
    form->addRow(QStringLiteral("&Digest or list:"), against);
    layout->addLayout(form);
    dialog.dropTargets = {file->Edit()};
    AddButtons(dialog, *layout, QStringLiteral("Check"), {file->Edit()});
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return FileCheckRequest{.file = PathBytes(file->Edit()->text()),
                            .digestOrList = against->Edit()->text().trimmed().toStdString()};
}

std::optional<std::array<std::string, 2>> AskFilesToCompare(QWidget* parent) {
    DropDialog dialog(QStringLiteral("Compare Files"), parent);
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    auto* first = new PathBox(QStringLiteral("Compare Files: Select the First File"), &dialog);
    auto* second = new PathBox(QStringLiteral("Compare Files: Select the Second File"), &dialog);
    form->addRow(QStringLiteral("&First:"), first);
    form->addRow(QStringLiteral("&Second:"), second);
    layout->addLayout(form);
    dialog.dropTargets = {first->Edit(), second->Edit()};
    AddButtons(dialog, *layout, QStringLiteral("Compare"), {first->Edit(), second->Edit()});
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return std::array<std::string, 2>{PathBytes(first->Edit()->text()), PathBytes(second->Edit()->text())};
}

}  // namespace velmar
