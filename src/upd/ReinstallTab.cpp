#include "upd/ReinstallTab.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <string>

#include "widgets/Controls.h"

namespace ombrel::upd {

using widgets::makeButton;
using widgets::makeFrame;
using widgets::makeLabel;
using widgets::toWidgetText;

ReinstallTab::ReinstallTab(const core::AppContext& context, QWidget* parent)
    : QWidget(parent), reinstall(context) {
    setObjectName(QStringLiteral("ReInstallUPDDriver"));

    Label29 = makeLabel(this, "Label29",
                        "To reinstall the UPD v3 driver on the currently selected servers, browse "
                        "to the folder where the source of the Aurelo version are located and "
                        "click the \"Re-Install\" button.");
    Label29->setWordWrap(true);
    Frame17 = makeFrame(this, "Frame17", "  CAUTION  ");
    Label28 = makeLabel(Frame17, "Label28", "Use this feature at your own risk !");
    QFont warning = Label28->font();
    warning.setBold(true);
    Label28->setFont(warning);
    Label27 = makeLabel(Frame17, "Label27",
                        "This provides a way to re-install the Ombrel Universal Driver v3 on "
                        "Windows 2000 and Windows 2003 servers.");
    Label27->setWordWrap(true);
    ReInstall = makeButton(this, "ReInstall", "Re-Install UPD driver");

    auto* caution = new QVBoxLayout(Frame17);
    caution->addWidget(Label28);
    caution->addWidget(Label27);

    auto* button = new QHBoxLayout;
    button->addWidget(ReInstall);
    button->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label29);
    layout->addSpacing(12);
    layout->addWidget(Frame17);
    layout->addSpacing(12);
    layout->addLayout(button);
    layout->addStretch();

    connect(ReInstall, &QPushButton::clicked, this, [this] { reinstall.ReInstall_Click(); });
}

void ReinstallTab::EnterTab() {
    Label27->setText(toWidgetText(
        std::string("This tool provides a way to re-install the Ombrel Universal Driver v3 on "
                    "Windows 2000 and Windows 2003 servers only.") +
        "\r\n" + "This tab will not be available on Windows 2008 systems. " + "\r\n" + "\r\n" +
        "Should these drivers ever get corrupted or deleted, a manual one-time driver "
        "replication may be performed or a repair may be run on the Aurelo software, as "
        "detailed in the Ombrel Knowledge Base article OMB121060, note 1."));
    Label29->setText(toWidgetText(
        std::string("To reinstall the UPD v3 driver on the currently selected servers, click the "
                    "'Re-Install' button.") +
        "\r\n" + "\r\n" +
        "You will be prompted to select the folder where the file share of the Aurelo software "
        "are located."));
}

}  // namespace ombrel::upd
