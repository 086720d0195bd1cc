#pragma once
// The small pieces every tab is built from: the three-state tick box of the tool's documents,
// named controls, and the one conversion between the logic's texts and the widgets' texts.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QString>

#include <string>
#include <string_view>

namespace ombrel::widgets {

// A tick box with the states 0 (clear), 1 (ticked) and 2 (grey). Code may set any state; a
// click of the user toggles between clear and ticked, and a grey box becomes ticked. Its
// stateChanged signal fires on every real change, from code or from the user, and only then.
class TickBox : public QCheckBox {
    Q_OBJECT

  public:
    explicit TickBox(const QString& caption, QWidget* parent = nullptr);

    int value() const;
    void setValue(int state);

  protected:
    void nextCheckState() override;
};

// The logic's UTF-8 text for a widget: a CR LF line break becomes the widget's line break.
QString toWidgetText(std::string_view text);
// A widget's text back in the logic's form, line breaks as CR LF.
std::string fromWidgetText(const QString& text);

// A control's own enabled switch, whatever its containers say: the tool tests a box's
// Enabled property, which a disabled tab page does not change.
bool ownEnabled(const QWidget* widget);

// Controls that carry their name from the tool's documents as object name.
QLabel* makeLabel(QWidget* parent, const char* name, std::string_view caption = {});
TickBox* makeBox(QWidget* parent, const char* name, std::string_view caption);
QPushButton* makeButton(QWidget* parent, const char* name, std::string_view caption);
QGroupBox* makeFrame(QWidget* parent, const char* name, std::string_view caption);

}  // namespace ombrel::widgets
