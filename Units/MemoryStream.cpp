#include "MemoryStream.h"

#include <algorithm>
#include <cstring>

void TMemoryStream::clear()
{
    m_data.clear();
    m_position = 0;
}

int TMemoryStream::write(const void *buffer, int count)
{
    if (count <= 0)
        return 0;
    const qint64 end = m_position + count;
    if (end > m_data.size())
        m_data.resize(end, '\0');
    std::memcpy(m_data.data() + m_position, buffer, static_cast<size_t>(count));
    m_position = end;
    return count;
}

int TMemoryStream::read(void *buffer, int count)
{
    const qint64 available = std::max<qint64>(0, m_data.size() - m_position);
    const int taken = static_cast<int>(std::min<qint64>(std::max(count, 0), available));
    if (taken > 0)
        std::memcpy(buffer, m_data.constData() + m_position, static_cast<size_t>(taken));
    m_position += taken;
    return taken;
}

void TMemoryStream::setPosition(qint64 position)
{
    m_position = std::max<qint64>(0, position);
}
