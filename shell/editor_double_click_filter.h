#pragma once

#include <QObject>
#include <functional>

namespace tamix {

namespace controls {
class RichTextBox;
}

// Decides what a left-button double click in the note editor does: on an
// embedded object nothing happens; over a hyperlink the link is followed
// instead of a word being selected; anywhere else the editor's own handling
// runs. Installed on the editor's drawing area at load, removed at unload.
class EditorDoubleClickFilter : public QObject {
public:
    // hoveredLink: the index of the link under the pointer, 0 when none;
    // follow: follows link `index`.
    EditorDoubleClickFilter(controls::RichTextBox& editor, std::function<int()> hoveredLink,
                            std::function<void(int)> follow, QObject* parent = nullptr);

    void install();
    void uninstall();
    bool installed() const { return installed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when the selection, or the character under `pixels`, is an
    // embedded object.
    bool onObject(const QPoint& pixels) const;

    controls::RichTextBox& editor_;
    std::function<int()> hoveredLink_;
    std::function<void(int)> follow_;
    bool installed_ = false;
};

}  // namespace tamix
