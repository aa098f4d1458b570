#include "desktop/Desktop.h"

#include "desktop/DesktopScreenReader.h"

Desktop::~Desktop() = default;

std::unique_ptr<ScreenReader> Desktop::OpenScreenReader()
{
    return std::make_unique<DesktopScreenReader>(*this);
}
