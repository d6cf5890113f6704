// A main-window stand-in for the window tests: the run-wide state, the three text-dependent lists, the
// figure's naming labels and a record of what was asked of the main window: the values set, in order,
// and the recalculations.
#pragma once

#include "gui/common/MainWindowHost.h"
#include "gui/common/MessageService.h"
#include "lang/LanguageFiles.h"

#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kelvra::test
{

inline QStringList entries(const QComboBox* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

class FakeHost : public MainWindowHost
{
public:
    explicit FakeHost(AppPaths paths, char separator = ',')
        : m_app(std::move(paths), separator), m_window(std::make_unique<QWidget>())
    {
        for (const char* name : {"cmbPortWhere", "cmbCorrection", "cmbPortType"}) {
            auto* list = new QComboBox(m_window.get());
            list->setObjectName(name);
            lists[name] = list;
        }
        refillTextLists();
        refills = 0;
    }

    AppState& app() override { return m_app; }
    QWidget* window() override { return m_window.get(); }
    void setModelText(const ModelKey& key, const std::string& text) override
    {
        textOf(m_app.inputs, key) = text;
        changes.push_back(std::string(key.name) + "=" + text);
    }
    void setModelListPosition(const ModelKey& key, int position) override
    {
        listPosition(m_app.inputs, key) = position;
        changes.push_back(std::string(key.name) + "#" + std::to_string(position));
        positionsSet.emplace_back(std::string(key.name), position);
        const std::map<std::string_view, const char*> listOfKey = {
            {"pwhere", "cmbPortWhere"}, {"corr", "cmbCorrection"}, {"ptype", "cmbPortType"}};
        if (const auto it = listOfKey.find(key.name); it != listOfKey.end())
            lists.at(it->second)->setCurrentIndex(position);
    }
    void runRecalculate() override { recalculations.push_back(m_app.simulationOn); }
    void setSimulationFlag(bool on) override { m_app.simulationOn = on; }
    void setCaption(const std::string& caption) override { m_caption = caption; }
    std::string caption() const override { return m_caption; }
    QWidget* control(std::string_view name, std::optional<int> index) override
    {
        if (name == "Label2") {
            const auto label = index ? labels.find(*index) : labels.end();
            return label == labels.end() ? nullptr : label->second;
        }
        const auto it = lists.find(std::string(name));
        return it == lists.end() ? nullptr : it->second;
    }
    void refillTextLists() override
    {
        ++refills;
        const TextLists t = FillTextLists(m_app.tables);
        const auto fill = [](QComboBox* list, const std::vector<std::string>& entries) {
            const int keep = list->currentIndex();
            list->clear();
            for (const std::string& e : entries)
                list->addItem(toQString(e));
            list->setCurrentIndex(keep < list->count() ? keep : -1);
        };
        fill(lists.at("cmbPortWhere"), t.cmbPortWhere);
        fill(lists.at("cmbCorrection"), t.cmbCorrection);
        fill(lists.at("cmbPortType"), t.cmbPortType);
    }

    QStringList entries(const std::string& list) const { return test::entries(lists.at(list)); }

    QLabel* addLabel(int index, const QString& caption)
    {
        auto* l = new QLabel(caption, m_window.get());
        labels[index] = l;
        return l;
    }

    std::map<std::string, QComboBox*> lists;
    std::map<int, QLabel*> labels;
    std::vector<std::pair<std::string, int>> positionsSet;
    int refills = 0;
    std::vector<std::string> changes; // "key=text" and "key#position", in the order they were set
    std::vector<bool> recalculations; // the simulation flag at each recalculation

private:
    AppState m_app;
    std::unique_ptr<QWidget> m_window;
    std::string m_caption = "Kelvra [0.1 Build53]";
};

} // namespace kelvra::test
