// SPDX-License-Identifier: GPL-3.0-or-later
// The help window: the help pages in a QTextBrowser inside the application,
// opened at the anchor of a help context, with Back, Forward, Contents and
// a search field over the page shown. Links between the pages stay in the
// window; nothing is handed to an outside browser.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QLineEdit;
class QTextBrowser;

namespace plc {

// The folder of the help pages for this executable (HelpFolder); empty when
// none holds index.html.
QString HelpDirectory();

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent);
    // Shows `page` of the help folder at `anchor` (empty: the top).
    void ShowPage(const QString& directory, const QString& page, const QString& anchor);
    // Shows and raises the window, wholly on the screen its parent is on.
    void ShowOnScreen();
    QTextBrowser* Browser() const { return m_browser; }
    QLineEdit* SearchField() const { return m_search; }
    // Selects the next place of the search field's text on the page,
    // wrapping to the top; false when the page does not hold it.
    bool FindNext();

private:
    QTextBrowser* m_browser;
    QLineEdit* m_search;
    QString m_directory;
};

}  // namespace plc
