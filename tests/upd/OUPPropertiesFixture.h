#pragma once
// The universal printer dialog on a fresh simulated farm with two servers, SRV1 selected,
// the trace on, scripted boxes and a recording wait window.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "settings/FarmRegistry.h"
#include "support/NamedControl.h"
#include "support/RecordingWaitWindow.h"
#include "support/ToolContext.h"
#include "upd/OUPProperties.h"

namespace ombrel::upd {

using platform::HKEY_LOCAL_MACHINE;
using test::dwordValue;
using test::StoredValue;
using test::textValue;

class OUPPropertiesTest : public testing::Test {
  protected:
    OUPPropertiesTest() {
        tool.farm.addMachine("SRV1", "10.0.0.11");
        tool.farm.addMachine("SRV2", "10.0.0.12");
        tool.context.waitWindow = &wait;
        tool.state.CurrentServer = "SRV1";
    }

    void put(const std::string& server, const std::string& name, const StoredValue& value) {
        registry.put(server, HKEY_LOCAL_MACHINE, kDevmodeKey, name, value);
    }

    // Every value of the key on the server, by name; absent ones are left out.
    std::map<std::string, StoredValue> stored(const std::string& server) {
        std::map<std::string, StoredValue> values;
        for (std::size_t i = 0; i < kDevmodeValueCount; ++i) {
            const std::string name = devmodeValueName(static_cast<DevmodeValue>(i));
            if (auto value = registry.get(server, HKEY_LOCAL_MACHINE, kDevmodeKey, name)) {
                values.emplace(name, *value);
            }
        }
        return values;
    }

    // "Re-Read from Registry", with the traces and wait-window calls of earlier steps dropped.
    void display() {
        tool.takeTraces();
        wait.calls.clear();
        dialog.Command1_Click();
    }

    // "Save to Registry", answering the question.
    void save(core::BoxAnswer answer = core::BoxAnswer::Yes) {
        tool.boxes.answers.push_back(answer);
        tool.takeTraces();
        dialog.Command2_Click();
    }

    // The dialog's controls, found by their names.
    widgets::TickBox* box(std::string_view name) const {
        return test::control<widgets::TickBox>(dialog, name);
    }
    QRadioButton* option(std::string_view name) const {
        return test::control<QRadioButton>(dialog, name);
    }
    QLineEdit* field(std::string_view name) const { return test::control<QLineEdit>(dialog, name); }
    QComboBox* paperList() const { return test::control<QComboBox>(dialog, "dmPaperSize"); }

    static std::string text(const QWidget* widget) {
        if (const auto* field = qobject_cast<const QLineEdit*>(widget)) {
            return field->text().toStdString();
        }
        return qobject_cast<const QComboBox*>(widget)->currentText().toStdString();
    }

    test::ToolContext tool;
    test::FarmRegistry registry{tool.farm};
    test::RecordingWaitWindow wait;
    OUPProperties dialog{tool.context, nullptr};
};

}  // namespace ombrel::upd
