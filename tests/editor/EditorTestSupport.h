// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the widget tests: a scratch current directory (the settings
// file lives there), files as bytes, and an editor opened through its
// control with scripted dialogs.
#pragma once

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/SafeWrite.h"
#include "base/WholeFile.h"
#include "control/TorvixCtrl.h"
#include "editor/PlcEditorDlg.h"
#include "platform/ScriptedDialogs.h"

namespace plc::test {

// Drops the offscreen platform's notes on what it does not support;
// every other message goes to the test's own handler. Call in initTestCase.
inline void QuietOffscreenNotes() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context,
                                         const QString& message) {
        if (message.startsWith(QLatin1String("This plugin does not support"))) return;
        if (previous) previous(type, context, message);
    });
}

// Scripted dialogs fail the running test at once when a dialog comes that
// the test did not expect.
inline ScriptedDialogs::FailureHandler FailTest() {
    return [](const std::string& message) { QTest::qFail(message.c_str(), __FILE__, __LINE__); };
}

// Makes a fresh temporary folder the current directory while it lives; it is
// also the folder of the editor's settings (the configuration home's
// "plcedit" folder), so that "PlcEdit.ini" there is the settings file, and
// the state home (recovery copies) is a folder "state" beside it.
class ScratchDirectory {
public:
    ScratchDirectory() : m_previous(QDir::currentPath()) {
        QDir(m_dir.path()).mkpath("plcedit");
        Set("XDG_CONFIG_HOME", m_dir.path());
        Set("XDG_STATE_HOME", m_dir.path() + "/state");
        QDir::setCurrent(m_dir.path() + "/plcedit");
    }
    ~ScratchDirectory() {
        QDir::setCurrent(m_previous);
        for (const auto& [name, value] : m_savedEnv) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }
    std::string Path(const std::string& name) const {
        return m_dir.path().toStdString() + "/plcedit/" + name;
    }
    std::string Root() const { return m_dir.path().toStdString(); }

private:
    void Set(const char* name, const QString& value) {
        m_savedEnv.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        qputenv(name, value.toLocal8Bit());
    }

    QString m_previous;
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_savedEnv;
    QTemporaryDir m_dir;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    QVERIFY(WriteFileSafely(path, bytes));
}

inline std::string ReadBytes(const std::string& path) {
    std::string data;
    ReadWholeFile(path, data);
    return data;
}

// The editor window on the screen, as a host that loaded the control's
// module sees it: by its widgets only.
inline QWidget* ModuleWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "PlcEditor" && w->isVisible()) return w;
    return nullptr;
}

// The menu entry of command `id` in such a window.
inline QAction* Command(QWidget* window, int id) {
    for (QAction* action : window->findChildren<QAction*>())
        if (action->data().toInt() == id) return action;
    return nullptr;
}

// The editor object of a control of this build, with all its parts.
inline CPlcEditorDlg& EditorOf(const CTorvixCtrl& control) {
    return dynamic_cast<CPlcEditorDlg&>(control.Editor());
}

// A control with its editor window open, scripted dialogs and a scratch
// current directory.
struct OpenEditor {
    ScratchDirectory scratch;
    ScriptedDialogs dialogs{FailTest()};
    std::unique_ptr<CTorvixCtrl> control = std::make_unique<CTorvixCtrl>(dialogs);
    CPlcEditorDlg& editor = EditorOf(*control);

    OpenEditor() {
        CPlcEditorDoc::OpenDirectory() = "../userdata/";
        CPlcEditorDoc::SaveDirectory() = "../userdata/";
        control->PlcCreate();
    }
    std::string Path(const std::string& name) const { return scratch.Path(name); }
    // Verifies that every scripted dialog came and nothing else did.
    void VerifyDialogs() {
        for (const std::string& failure : dialogs.Failures()) qWarning("%s", failure.c_str());
        QVERIFY(dialogs.Failures().empty());
        QCOMPARE(dialogs.Pending(), size_t(0));
    }
};

}  // namespace plc::test
