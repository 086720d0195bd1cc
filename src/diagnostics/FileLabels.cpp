#include "diagnostics/FileLabels.h"

#include "widgets/Controls.h"

namespace ombrel::diagnostics {

void ShowFileInformation(core::AppContext& context,
                         const std::array<QLabel*, kComponentFileCount>& FI) {
    const FileCaptions captions = FileInformation(context);
    for (std::size_t i = 0; i < FI.size(); ++i) {
        FI[i]->setText(widgets::toWidgetText(captions[i].text));
        QFont font = FI[i]->font();
        font.setBold(captions[i].bold);
        FI[i]->setFont(font);
    }
}

}  // namespace ombrel::diagnostics
