#pragma once

#include <QTableView>
#include <functional>
#include <utility>

class THexContainer;
class HexViewModel;

// A read-only hex dump of one memory image: a row per 16-byte line with its
// address, the bytes in hexadecimal and the same bytes as characters. The view
// asks the image for each visible cell and holds no copy of it.
// A byte takes the focus in either of its two cells and both are highlighted;
// the address and spacer columns never take it. The columns are as wide as
// their font needs, so that a whole row fits beside the navigation list at the
// window's smallest size.
class HexView : public QTableView {
    Q_OBJECT
public:
    static constexpr int FontPixels = 11;

    // deviceSize answers the selected device's memory size in bytes (0 for none).
    HexView(const THexContainer &image, std::function<int()> deviceSize, QWidget *parent = nullptr);

    // The image was loaded, unloaded, resized or the device changed: row count and colours are new.
    void imageChanged();
    // Another image took the shown one's place: as imageChanged(), and the
    // view starts again at the first row with no byte focused.
    void imageReplaced();

    // Hex column (1..16) and character column (18..33) of the focused byte, or -1, -1.
    std::pair<int, int> focusColumns() const;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void changeEvent(QEvent *event) override;

private:
    void setUpColumns();
    void setUpRows();

    HexViewModel *m_model;
};
