#include "MainWindowLink.h"

namespace {
MainWindowLink *installedLink = nullptr;
}

void setMainWindowLink(MainWindowLink *link)
{
    installedLink = link;
}

MainWindowLink *mainWindowLink()
{
    return installedLink;
}
