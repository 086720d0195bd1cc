#include "app/QtMessageBoxes.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

#include "widgets/Controls.h"

namespace ombrel::app {

namespace {

QMessageBox::Icon toQt(core::BoxIcon icon) {
    switch (icon) {
        case core::BoxIcon::Critical:
            return QMessageBox::Critical;
        case core::BoxIcon::Question:
            return QMessageBox::Question;
        case core::BoxIcon::Exclamation:
            return QMessageBox::Warning;
        case core::BoxIcon::Information:
            return QMessageBox::Information;
        case core::BoxIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(core::BoxButtons buttons) {
    switch (buttons) {
        case core::BoxButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case core::BoxButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case core::BoxButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case core::BoxButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

}  // namespace

core::BoxAnswer QtMessageBoxes::messageBox(const std::string& text, core::BoxButtons buttons,
                                           core::BoxIcon icon, const std::string& title) {
    QMessageBox box(toQt(icon), widgets::toWidgetText(title), widgets::toWidgetText(text),
                    toQt(buttons), owner_);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return core::BoxAnswer::Yes;
        case QMessageBox::No:
            return core::BoxAnswer::No;
        case QMessageBox::Cancel:
            return core::BoxAnswer::Cancel;
        default:
            // The close box of a box without Cancel counts as its only or first answer.
            return buttons == core::BoxButtons::YesNo ? core::BoxAnswer::No : core::BoxAnswer::Ok;
    }
}

std::string QtMessageBoxes::inputBox(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) {
    QInputDialog dialog(owner_);
    dialog.setObjectName(QStringLiteral("InputBox"));
    dialog.setWindowTitle(widgets::toWidgetText(title));
    dialog.setLabelText(widgets::toWidgetText(prompt));
    dialog.setTextValue(widgets::toWidgetText(defaultText));
    if (dialog.exec() != QDialog::Accepted) {
        return "";
    }
    return widgets::fromWidgetText(dialog.textValue());
}

std::string QtMessageBoxes::openFileName(const std::string& filter,
                                         const std::string& defaultExtension,
                                         const std::string& initialFolder,
                                         const std::string& title) {
    if (disks_) {
        return openOnDisks(fileDialogFilter(filter), defaultExtension, initialFolder, title);
    }
    const QString chosen = QFileDialog::getOpenFileName(owner_, widgets::toWidgetText(title),
                                                        widgets::toWidgetText(initialFolder),
                                                        fileDialogFilter(filter));
    std::string path = chosen.toStdString();
    return path.size() > kMaxChosenPath ? std::string() : path;
}

std::string QtMessageBoxes::openOnDisks(const QString& filter, const std::string& defaultExtension,
                                        const std::string& initialFolder,
                                        const std::string& title) {
    QList<QUrl> places;
    for (const auto& [name, folder] : disks_->drives) {
        places << QUrl::fromLocalFile(QString::fromStdString(folder));
    }
    const QString firstDrive = places.isEmpty() ? QString() : places.front().toLocalFile();
    QString start = QString::fromStdString(disks_->hostPath(initialFolder));
    if (start.isEmpty() || !QFileInfo(start).isDir()) {
        start = firstDrive;
    }
    QFileDialog dialog(owner_, widgets::toWidgetText(title), start, filter);
    dialog.setObjectName(QStringLiteral("FileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(widgets::toWidgetText(defaultExtension));
    dialog.setSidebarUrls(places);
    dialog.resize(760, 480);
    // The dialog stays on the machine's disks: a folder above or beside them leads back.
    QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog,
                     [this, &dialog, firstDrive](const QString& folder) {
                         if (disks_->windowsPath(folder.toStdString()).empty()) {
                             dialog.setDirectory(firstDrive);
                         }
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return "";
    }
    const std::string path = disks_->windowsPath(dialog.selectedFiles().front().toStdString());
    return path.size() > kMaxChosenPath ? std::string() : path;
}

QString fileDialogFilter(const std::string& filter) {
    const QStringList parts = widgets::toWidgetText(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The dialog takes its patterns from the parentheses of the description.
        filters << (description.contains(QLatin1Char('('))
                        ? description
                        : description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    if (parts.size() % 2 == 1 && !parts.back().isEmpty()) {
        filters << parts.back();
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace ombrel::app
