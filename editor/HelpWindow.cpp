#include "editor/HelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <cstdlib>

namespace plc {

QString HelpDirectory() {
    QStringList candidates;
    if (const char* dir = std::getenv("PLCEDIT_HELP_DIR"); dir && *dir) candidates << dir;
    const QString appDir = QCoreApplication::applicationDirPath();
    candidates << appDir + "/../share/plcedit/help" << appDir + "/help";
    for (const QString& dir : candidates)
        if (QFileInfo::exists(dir + "/index.html")) return QDir(dir).absolutePath();
    return {};
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("help");
    setWindowTitle("PlcEdit help");
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(false);
    m_browser->setOpenLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(760, 600);
}

void HelpWindow::ShowPage(const QString& directory, const QString& page, const QString& anchor) {
    m_browser->setSearchPaths({directory});
    QUrl url = QUrl::fromLocalFile(directory + "/" + page);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    m_browser->setSource(url);
    if (!anchor.isEmpty()) m_browser->scrollToAnchor(anchor);
}

}  // namespace plc
