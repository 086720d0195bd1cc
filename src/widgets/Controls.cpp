#include "widgets/Controls.h"

namespace ombrel::widgets {

TickBox::TickBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}

int TickBox::value() const {
    switch (checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

void TickBox::setValue(int state) {
    setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void TickBox::nextCheckState() {
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

QString toWidgetText(std::string_view text) {
    QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

std::string fromWidgetText(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return result.toStdString();
}

bool ownEnabled(const QWidget* widget) {
    return !widget->testAttribute(Qt::WA_ForceDisabled);
}

QLabel* makeLabel(QWidget* parent, const char* name, std::string_view caption) {
    auto* label = new QLabel(toWidgetText(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

TickBox* makeBox(QWidget* parent, const char* name, std::string_view caption) {
    auto* box = new TickBox(toWidgetText(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QPushButton* makeButton(QWidget* parent, const char* name, std::string_view caption) {
    auto* button = new QPushButton(toWidgetText(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QGroupBox* makeFrame(QWidget* parent, const char* name, std::string_view caption) {
    auto* frame = new QGroupBox(toWidgetText(caption), parent);
    frame->setObjectName(QString::fromLatin1(name));
    return frame;
}

}  // namespace ombrel::widgets
