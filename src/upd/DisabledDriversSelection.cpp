#include "upd/DisabledDriversSelection.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <vector>

#include "upd/ExclusionList.h"
#include "widgets/Controls.h"

namespace ombrel::upd {

using widgets::fromWidgetText;
using widgets::makeButton;
using widgets::makeLabel;
using widgets::toWidgetText;

namespace {
constexpr int kMayOpen = 8;
constexpr int kMayChange = 10;
}  // namespace

DisabledDriversSelection::DisabledDriversSelection(const core::AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("DisabledDriversSelection"));
    setWindowTitle(QStringLiteral("Print Drivers Selection"));
    Label1 =
        makeLabel(this, "Label1", "Select the print drivers which will have UPD fallback disabled");
    Label2 = makeLabel(this, "Label2",
                       "Note : the Ombrel Universal Drivers have been removed from the list");
    Label3 = makeLabel(this, "Label3", "CAUTION : This is a Farm wide setting");
    QFont caution = Label3->font();
    caution.setBold(true);
    Label3->setFont(caution);
    ServerDriversToDisable = new QListWidget(this);
    ServerDriversToDisable->setObjectName(QStringLiteral("ServerDriversToDisable"));
    ServerDriversToDisable->setSelectionMode(QAbstractItemView::MultiSelection);
    Command1 = makeButton(this, "Command1", "Save changes");
    Command2 = makeButton(this, "Command2", "Cancel");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ServerDriversToDisable, 1);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addLayout(buttons);
    resize(460, 420);

    connect(Command1, &QPushButton::clicked, this, &DisabledDriversSelection::SaveExclusionList);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
    Form_Load();
}

void DisabledDriversSelection::Form_Load() {
    platform::FarmObject* farm = context_.state.FarmObject.get();
    if (farm == nullptr || farm->checkPermission(kMayChange) == 0) {
        Command1->setEnabled(false);
        context_.boxes.message("You do not have enough permissions to modify the settings");
    }
    ServerDriversToDisable->clear();
    for (const OfferedDriver& driver : OfferedDrivers(context_)) {
        auto* item = new QListWidgetItem(toWidgetText(driver.name), ServerDriversToDisable);
        item->setSelected(driver.selected);
    }
}

void DisabledDriversSelection::SaveExclusionList() {
    std::vector<OfferedDriver> entries;
    for (int i = 0; i < ServerDriversToDisable->count(); ++i) {
        const QListWidgetItem* item = ServerDriversToDisable->item(i);
        entries.push_back({fromWidgetText(item->text()), item->isSelected()});
    }
    StoreExclusionList(context_, entries);
    accept();
}

void UPDFallBackDrivers_Click(const core::AppContext& context, QPushButton* button,
                              QWidget* owner) {
    platform::FarmObject* farm = context.state.FarmObject.get();
    if (farm == nullptr || farm->checkPermission(kMayOpen) != 1) {
        context.boxes.message("You do not have the required permissions");
        button->setEnabled(false);
        return;
    }
    // Loaded afresh at every opening, so the list always shows the farm as it is now.
    DisabledDriversSelection dialog(context, owner);
    dialog.exec();
}

}  // namespace ombrel::upd
