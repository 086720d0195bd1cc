// The dialog's display of the values read and the choices a save writes.

#include "upd/OUPProperties.h"
#include "upd/PaperSizes.h"

namespace ombrel::upd {

namespace {

using V = DevmodeValue;

// The stored value is a number of at least minimum.
bool atLeast(const remote::RegValue& value, long long minimum) {
    const std::optional<long long> number = devmodeNumber(value);
    return number && *number >= minimum;
}

QString shown(const remote::RegValue& value) {
    return widgets::toWidgetText(remote::textOf(value));
}

// The option of a group for a stored number from 1 up; nullptr past the last one.
template <std::size_t N>
QRadioButton* optionFor(const remote::RegValue& value,
                        const std::array<QRadioButton*, N>& options) {
    const long long number = devmodeNumber(value).value_or(0);
    return number >= 1 && number <= static_cast<long long>(N) ? options[number - 1] : nullptr;
}

// The number of the checked option, counted from 1; 0 when none is checked.
int checkedNumber(std::initializer_list<const QRadioButton*> options) {
    int number = 1;
    for (const QRadioButton* option : options) {
        if (option->isChecked()) {
            return number;
        }
        ++number;
    }
    return 0;
}

std::string textOf(const QLineEdit* field) {
    return widgets::fromWidgetText(field->text());
}

}  // namespace

void OUPProperties::DisplayUPDDevmode() {
    context_.WriteTrace("Display UPD Devmode starting");
    ReadUPDDevmode(context_, stored_);
    showOrientation();
    showPaperSize();
    showPaperLengthAndWidth();
    showPrintQuality();
    showScale();
    showCopies();
    showDefaultSource();
    showColor();
    showDuplex();
    showYResolution();
    showTTOption();
    showFormName();
    context_.WriteTrace("Display UPD Devmode done");
}

void OUPProperties::showOrientation() {
    const remote::RegValue& value = stored(V::Orientation);
    context_.WriteTrace("dmOrientation " + remote::textOf(value));
    context_.WriteTrace("Try this");
    const long long number = devmodeNumber(value).value_or(0);
    if (number == 1 || number == 2) {
        context_.WriteTrace(number == 1 ? "dmOrientation=1" : "dmOrientation=2");
        Orientation->setValue(1);
        (number == 1 ? Portrait : Landscape)->setChecked(true);
        enableAll({Portrait, Landscape}, true);
        return;
    }
    context_.WriteTrace("dmOrientation=0");
    Orientation->setValue(0);
    context_.WriteTrace("OUPProperties.Orientation done");
    Portrait->setEnabled(false);
    context_.WriteTrace("OUPProperties.Portrait done");
    Landscape->setEnabled(false);
    context_.WriteTrace("OUPProperties.Landscape done");
}

void OUPProperties::showPaperSize() {
    const remote::RegValue& value = stored(V::PaperSize);
    context_.WriteTrace("dmPaperSize " + remote::textOf(value));
    const std::optional<long long> code = devmodeNumber(value);
    if (devmodeEmpty(value) || !code) {
        return;
    }
    if (*code < 0) {
        dmPaperSize->setEnabled(false);
        choosePaper(kUserDefinedPaper);
        return;
    }
    dmPaperSize->setEnabled(true);
    if (*code < kPaperSizeCount) {
        choosePaper(static_cast<int>(*code));
    } else {
        chooseUnlistedPaper(*code);
    }
    PaperSize->setValue(1);
}

void OUPProperties::showPaperLengthAndWidth() {
    const remote::RegValue& length = stored(V::PaperLength);
    const remote::RegValue& width = stored(V::PaperWidth);
    context_.WriteTrace("dmPaperLength " + remote::textOf(length));
    context_.WriteTrace("regdmPaperWidth " + remote::textOf(width));
    if (!atLeast(length, 1)) {
        return;
    }
    dmPaperSize->setEnabled(true);
    choosePaper(kUserDefinedPaper);
    PaperSize->setValue(1);
    dmPaperLength->setText(shown(length));
    dmPaperWidth->setText(shown(width));
    enableAll({dmPaperLength, dmPaperWidth}, true);
}

void OUPProperties::showPrintQuality() {
    const remote::RegValue& value = stored(V::PrintQuality);
    if (atLeast(value, 1)) {
        PrintQuality->setValue(1);
        enableAll({Draft, Low, Medium, High}, true);
        if (QRadioButton* option = optionFor<4>(value, {Draft, Low, Medium, High})) {
            option->setChecked(true);
        }
    } else if (devmodeEmpty(value)) {
        PrintQuality->setValue(0);
        enableAll({Draft, Low, Medium, High}, false);
    }
}

void OUPProperties::showScale() {
    showInField(V::Scale, 1, Scale1, dmScale, kScaleHint);
}

void OUPProperties::showCopies() {
    // The collation box shows what the server holds: left ticked from an earlier server, a
    // save would write a collation this server never had. One digit shorter than the hint of
    // the box's own rule, as the display always had it.
    const Shown shown = showInField(V::Copies, 1, Copies, dmCopies, "1 - 999");
    if (shown == Shown::Left) {
        return;
    }
    if (shown == Shown::Cleared) {
        dmCollate->setEnabled(false);
    }
    dmCollate->setValue(devmodeNumber(stored(V::Collate)) == 1 ? 1 : 0);
}

void OUPProperties::showDefaultSource() {
    showInField(V::DefaultSource, 1, DefaultSource, dmDefaultSource, kDefaultSourceHint);
}

void OUPProperties::showColor() {
    const remote::RegValue& value = stored(V::Color);
    if (atLeast(value, 1)) {
        dmColor->setValue(1);
        enableAll({MonoChrome, Color}, true);
        // Chosen every time: a box ticked already keeps the option of the previous display.
        (devmodeNumber(value) == 1 ? MonoChrome : Color)->setChecked(true);
    } else if (devmodeEmpty(value)) {
        dmColor->setValue(0);
        enableAll({MonoChrome, Color}, false);
    }
}

void OUPProperties::showDuplex() {
    const remote::RegValue& value = stored(V::Duplex);
    if (atLeast(value, 1)) {
        Duplexing->setValue(1);
        Horizontal->setChecked(true);
        enableAll({Horizontal, Vertical}, true);
        if (devmodeNumber(value) == 3) {
            Vertical->setChecked(true);
        }
    } else if (devmodeEmpty(value)) {
        Duplexing->setValue(0);
        // An exclusive group never lets its checked option go.
        duplexGroup_->setExclusive(false);
        Horizontal->setChecked(false);
        duplexGroup_->setExclusive(true);
        enableAll({Horizontal, Vertical}, false);
    }
}

void OUPProperties::showYResolution() {
    // Ticking the box asks the YResolution question first.
    showInField(V::YResolution, 32, YResolution, dmYResolution, kYResolutionHint);
}

void OUPProperties::showTTOption() {
    const remote::RegValue& value = stored(V::TTOption);
    if (atLeast(value, 1)) {
        TTOption->setValue(1);
        enableAll({TTBitmap, TTDownload, TTSubDev, TTDownloadOut}, true);
        if (QRadioButton* option =
                optionFor<4>(value, {TTBitmap, TTDownload, TTSubDev, TTDownloadOut})) {
            option->setChecked(true);
        }
    } else if (devmodeEmpty(value)) {
        TTOption->setValue(0);
        enableAll({TTBitmap, TTDownload, TTSubDev, TTDownloadOut}, false);
    }
}

void OUPProperties::showFormName() {
    const remote::RegValue& value = stored(V::FormName);
    if (!devmodeEmpty(value)) {
        FormName->setValue(1);
        dmFormName->setEnabled(true);
        dmFormName->setText(shown(value));
    } else {
        FormName->setValue(0);
        dmFormName->setEnabled(false);
    }
}

OUPProperties::Shown OUPProperties::showInField(DevmodeValue value, long long minimum,
                                                widgets::TickBox* box, QLineEdit* field,
                                                const char* hint) {
    const remote::RegValue& read = stored(value);
    if (atLeast(read, minimum)) {
        box->setValue(1);
        field->setEnabled(true);
        field->setText(shown(read));
        return Shown::Value;
    }
    if (devmodeEmpty(read)) {
        box->setValue(0);
        field->setEnabled(false);
        field->setText(QString::fromLatin1(hint));
        return Shown::Cleared;
    }
    return Shown::Left;
}

void OUPProperties::choosePaper(int index) {
    dmPaperSize->setCurrentIndex(index);
    if (unlistedPaper_ && index != kPaperSizeCount) {
        unlistedPaper_.reset();
        dmPaperSize->removeItem(kPaperSizeCount);
    }
}

void OUPProperties::chooseUnlistedPaper(long long code) {
    const QString name = QString::fromStdString(unlistedPaperName(code));
    if (unlistedPaper_) {
        dmPaperSize->setItemText(kPaperSizeCount, name);
    } else {
        dmPaperSize->addItem(name);
    }
    unlistedPaper_ = code;
    dmPaperSize->setCurrentIndex(kPaperSizeCount);
}

DevmodeChoices OUPProperties::choices() const {
    DevmodeChoices result;
    const auto ticked = [](const widgets::TickBox* box) { return box->value() == 1; };
    if (ticked(Copies)) {
        result.copies = textOf(dmCopies);
    }
    result.collate = ticked(dmCollate);
    if (ticked(DefaultSource)) {
        result.defaultSource = textOf(dmDefaultSource);
    }
    if (ticked(dmColor)) {
        result.color = Color->isChecked() ? 2 : 1;
    }
    // A ticked box with no entry chosen (a fresh dialog) has no paper to write.
    if (ticked(PaperSize) && dmPaperSize->currentIndex() >= 0) {
        const int index = dmPaperSize->currentIndex();
        result.paper = DevmodeChoices::Paper{
            index, index == kPaperSizeCount && unlistedPaper_ ? *unlistedPaper_ : index,
            textOf(dmPaperLength), textOf(dmPaperWidth)};
    }
    if (ticked(Duplexing)) {
        result.duplex = Vertical->isChecked() ? 3 : Horizontal->isChecked() ? 2 : 0;
    }
    if (ticked(Orientation)) {
        result.orientation = Landscape->isChecked() ? 2 : 1;
    }
    result.printQualityTicked = ticked(PrintQuality);
    result.quality = checkedNumber({Draft, Low, Medium, High});
    if (ticked(Scale1)) {
        result.scale = textOf(dmScale);
    }
    if (ticked(TTOption)) {
        result.ttOption = checkedNumber({TTBitmap, TTDownload, TTSubDev, TTDownloadOut});
    }
    if (ticked(YResolution)) {
        result.yResolution = textOf(dmYResolution);
    }
    if (ticked(FormName)) {
        result.formName = textOf(dmFormName);
    }
    return result;
}

}  // namespace ombrel::upd
