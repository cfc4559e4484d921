#include "pageelements.h"

std::vector<PlacedElement> elementsNamed(const PageStore& pages, int page, const QString& name)
{
    std::vector<PlacedElement> found;
    for (PlacedElement& element : pages.content(page).elements) {
        if (pages.styles()[std::size_t(element.style)].name == name)
            found.push_back(std::move(element));
    }
    return found;
}

std::vector<double> topsInTenths(const PageStore& pages, int page, const QString& name)
{
    std::vector<double> tops;
    for (const PlacedElement& element : elementsNamed(pages, page, name))
        tops.push_back(element.box.top / 10.0);
    return tops;
}
