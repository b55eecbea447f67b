#include "PageList.h"

#include "HexContainer.h"
#include "ListErrors.h"

#include <algorithm>

void TPage::Init(int size)
{
    PageCells.assign(size > 0 ? size_t(size) : 0, TPage::Cell{'F', 'F'});
}

void TPageList::Build(int pageCount, int pageSize)
{
    // Without a usable page size there are no pages, so every image is refused.
    if (pageSize <= 0)
        pageCount = 0;
    DevicePages = std::max(pageCount, 0);
    DevicePageSize = pageSize;
    // Cells beyond the reach of any image could never take a byte, and a
    // definition with absurd sizes must not exhaust the memory: only the
    // pages and cells that an image can fill are made. The verdict is the same.
    const qint64 reach = qint64(THexContainer::MaxLines) * THexLine::Columns;
    const int cells = int(std::min<qint64>(std::max(pageSize, 0), reach));
    const qint64 reachablePages = cells > 0 ? (reach + cells - 1) / cells : 0;
    m_pages.assign(size_t(std::min<qint64>(DevicePages, reachablePages)), TPage());
    for (TPage &page : m_pages)
        page.Init(cells);
}

bool TPageList::LoadFromImage(const THexContainer &image)
{
    const int pageCount = count();
    int page = 0;
    int cell = 0;
    for (int lineIndex = 0; lineIndex < image.count(); ++lineIndex) {
        const THexLine &line = image.Items(lineIndex);
        for (int column = 1; column <= THexLine::Columns; ++column) {
            if (page >= pageCount)
                throw ListIndexError(page);
            std::vector<TPage::Cell> &cells = m_pages[size_t(page)].PageCells;
            // Pages are rebuilt for each check, so their cells match the page size.
            cells[size_t(cell)] = line.ByteChars(column);
            if (++cell >= int(cells.size())) {
                cell = 0;
                if (++page >= pageCount)
                    break;  // the rest of a line that straddles the end is not looked at
            }
        }
    }
    return true;
}

const TPage &TPageList::Items(int index) const
{
    if (index < 0 || index >= count())
        throw ListIndexError(index);
    return m_pages[size_t(index)];
}
