// The help window: the help pages in a QTextBrowser inside the application,
// opened at the anchor of a help context. Links between the pages stay in
// the window; nothing is handed to an outside browser.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace plc {

// The folder of the help pages: $PLCEDIT_HELP_DIR, else the installed
// data folder <executable's folder>/../share/plcedit/help, else the build
// tree's <executable's folder>/help; empty when none holds index.html.
QString HelpDirectory();

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent);
    // Shows `page` of the help folder at `anchor` (empty: the top).
    void ShowPage(const QString& directory, const QString& page, const QString& anchor);
    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

}  // namespace plc
