#include "app/QtMessageBoxes.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

#include "app/Controls.h"

namespace ombrel::app {

namespace {

QMessageBox::Icon toQt(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Critical:
            return QMessageBox::Critical;
        case BoxIcon::Question:
            return QMessageBox::Question;
        case BoxIcon::Exclamation:
            return QMessageBox::Warning;
        case BoxIcon::Information:
            return QMessageBox::Information;
        case BoxIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(BoxButtons buttons) {
    switch (buttons) {
        case BoxButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case BoxButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case BoxButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case BoxButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

}  // namespace

BoxAnswer QtMessageBoxes::messageBox(const std::string& text, BoxButtons buttons, BoxIcon icon,
                                     const std::string& title) {
    QMessageBox box(toQt(icon), toWidgetText(title), toWidgetText(text), toQt(buttons), owner_);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return BoxAnswer::Yes;
        case QMessageBox::No:
            return BoxAnswer::No;
        case QMessageBox::Cancel:
            return BoxAnswer::Cancel;
        default:
            // The close box of a box without Cancel counts as its only or first answer.
            return buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
    }
}

std::string QtMessageBoxes::inputBox(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) {
    QInputDialog dialog(owner_);
    dialog.setObjectName(QStringLiteral("InputBox"));
    dialog.setWindowTitle(toWidgetText(title));
    dialog.setLabelText(toWidgetText(prompt));
    dialog.setTextValue(toWidgetText(defaultText));
    if (dialog.exec() != QDialog::Accepted) {
        return "";
    }
    return fromWidgetText(dialog.textValue());
}

std::string QtMessageBoxes::openFileName(const std::string& filter,
                                         const std::string& defaultExtension,
                                         const std::string& initialFolder,
                                         const std::string& title) {
    if (disks_) {
        return openOnDisks(fileDialogFilter(filter), defaultExtension, initialFolder, title);
    }
    const QString chosen = QFileDialog::getOpenFileName(
        owner_, toWidgetText(title), toWidgetText(initialFolder), fileDialogFilter(filter));
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
    QFileDialog dialog(owner_, toWidgetText(title), start, filter);
    dialog.setObjectName(QStringLiteral("FileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(toWidgetText(defaultExtension));
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
    const QStringList parts = toWidgetText(filter).split(QLatin1Char('|'));
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
