#pragma once

#include <QTableView>
#include <functional>

class THexContainer;

// A read-only hex dump of one memory image: a row per 16-byte line with its
// address, the bytes in hexadecimal and the same bytes as characters. The view
// asks the image for each visible cell and holds no copy of it.
class HexView : public QTableView {
    Q_OBJECT
public:
    // deviceSize answers the selected device's memory size in bytes (0 for none).
    HexView(const THexContainer &image, std::function<int()> deviceSize, QWidget *parent = nullptr);

    // The image was loaded, unloaded, resized or the device changed: row count and colours are new.
    void imageChanged();

private:
    const THexContainer &m_image;
    std::function<int()> m_deviceSize;
};
