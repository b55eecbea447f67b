#pragma once

#include <QString>
#include <array>
#include <vector>

class THexContainer;

// One device page: one two-character byte text per byte.
class TPage {
public:
    using Cell = std::array<char, 2>;
    std::vector<Cell> PageCells;

    // size cells of "FF"; none for a size of 0 or less.
    void Init(int size);
};

// A device memory cut into pages; used to check that an image fits the device.
class TPageList {
public:
    int DevicePages = 0;
    int DevicePageSize = 0;

    // Drops the old pages and makes pageCount pages of pageSize cells. Also
    // sets DevicePages and DevicePageSize. A page size of 0 or less gives no pages.
    void Build(int pageCount, int pageSize);

    // Pours the image into the pages. True when it fits; raises EListError when
    // a line of the image starts at or beyond the capacity.
    bool LoadFromImage(const THexContainer &image);

    int count() const { return static_cast<int>(m_pages.size()); }
    const TPage &Items(int index) const;

private:
    std::vector<TPage> m_pages;
};
