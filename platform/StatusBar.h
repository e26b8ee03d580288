// SPDX-License-Identifier: GPL-3.0-or-later
// A status bar of parts with fixed right edges in pixels, each with its own
// text, as the editor window lays them out (the last part ends at the right
// edge of the window; a part of no width shows nothing).
#pragma once

#include <string>
#include <vector>

#include <QWidget>

namespace plc {

class StatusBar : public QWidget {
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent = nullptr);

    // Right edges of the parts, left to right.
    void SetParts(const std::vector<int>& rightEdges);
    const std::vector<int>& Parts() const { return m_edges; }

    // Sets the text of `part`; `noBorders` draws the part without its frame.
    void SetText(int part, const std::string& text, bool noBorders = false);
    std::string Text(int part) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Part {
        std::string text;
        bool noBorders = false;
    };
    std::vector<int> m_edges;
    std::vector<Part> m_parts;
};

}  // namespace plc
