#include "app/AboutTab.h"

#include <QVBoxLayout>

#include "core/Trace.h"
#include "widgets/Controls.h"

namespace ombrel::app {

namespace {

constexpr const char* kDisclaimer =
    "This tool is provided \"as is\", without warranty of any kind, express or implied, "
    "including but not limited to the warranties of merchantability, fitness for a particular "
    "purpose and non-infringement.\r\n\r\n"
    "It changes the printing settings in the registries of the servers you select and can "
    "restart their print services. Try every change on one server before you apply it to the "
    "farm, and keep a backup of the registry keys you change.\r\n\r\n"
    "In no event shall the authors be liable for any claim, damage or other liability arising "
    "from the use of this tool.";

void setPointSize(QLabel* label, int points, bool bold) {
    QFont font = label->font();
    font.setPointSize(points);
    font.setBold(bold);
    label->setFont(font);
}

}  // namespace

AboutTab::AboutTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("About"));

    lblTitle = widgets::makeLabel(this, "lblTitle", "Ombrel Printing Tool");
    setPointSize(lblTitle, 18, true);
    lblVersion = widgets::makeLabel(this, "lblVersion", "v.");
    setPointSize(lblVersion, 12, false);
    Frame15 = widgets::makeFrame(this, "Frame15", "  DISCLAIMER  ");
    lblDisclaimer = widgets::makeLabel(Frame15, "lblDisclaimer", kDisclaimer);
    lblDisclaimer->setWordWrap(true);
    Label23 =
        widgets::makeLabel(this, "Label23",
                           "Feedback and suggestions are welcome: send them to your Ombrel support "
                           "contact, with the trace of the tool (start it with /debug).");
    Label22 = widgets::makeLabel(this, "Label22",
                                 "Written and maintained by the Ombrel printing support team.");
    Label24 = widgets::makeLabel(
        this, "Label24",
        "Every change saved to a server is recorded in the Application event log "
        "of the computer that runs this tool.");
    for (QLabel* label : {Label23, Label22, Label24}) {
        label->setWordWrap(true);
    }

    auto* header = new QVBoxLayout;
    header->addWidget(lblTitle);
    header->addWidget(lblVersion);

    auto* disclaimer = new QVBoxLayout(Frame15);
    disclaimer->addWidget(lblDisclaimer);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addSpacing(12);
    layout->addWidget(Frame15);
    layout->addSpacing(12);
    layout->addWidget(Label23);
    layout->addWidget(Label22);
    layout->addWidget(Label24);
    layout->addStretch();
    layout->setContentsMargins(24, 24, 24, 24);
}

void AboutTab::EnterTab() {
    lblVersion->setText(QStringLiteral("v.%1.%2.%3")
                            .arg(core::kVersionMajor)
                            .arg(core::kVersionMinor)
                            .arg(core::kVersionRevision));
}

}  // namespace ombrel::app
