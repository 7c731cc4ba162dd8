#pragma once
// What the scripted Outlook (2007 and later) reads from an add-in's ribbon
// markup: the namespace, the onLoad callback, the tab (and the contextual tab
// set that holds it), the group and its buttons with their callbacks.
// Attributes may have blanks around "=", as hand-written markup often does.

#include <string>
#include <string_view>
#include <vector>

namespace cq::test::e2e {

struct RibbonButtonMarkup {
    std::string id;
    std::string label;
    std::string size;
    std::string onAction;
    std::string getLabel;
    std::string getScreentip;
    std::string getImage;
};

struct CustomUiMarkup {
    std::string xmlns;  // the customUI namespace
    std::string onLoad;
    std::string tabSet;  // idMso of the contextual tab set holding the tab ("" for none)
    std::string tab;     // idMso (or id) of the tab
    std::string groupId;
    std::string groupLabel;
    std::vector<RibbonButtonMarkup> buttons;
};

// Throws std::invalid_argument when the markup is not well formed enough to
// read (an element or attribute left open, an attribute without a value).
CustomUiMarkup readCustomUi(std::string_view markup);

}  // namespace cq::test::e2e
