#include "tests/e2e/RibbonMarkup.h"

#include <cctype>
#include <map>
#include <stdexcept>

namespace cq::test::e2e {
namespace {

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
};

class Scanner {
  public:
    explicit Scanner(std::string_view text) : text_(text) {}

    // The next opening (or empty) element; false at the end.
    bool next(Element& out) {
        for (;;) {
            std::size_t open = text_.find('<', at_);
            if (open == std::string_view::npos) return false;
            at_ = open + 1;
            if (at_ < text_.size() &&
                (text_[at_] == '/' || text_[at_] == '?' || text_[at_] == '!')) {
                std::size_t close = text_.find('>', at_);
                if (close == std::string_view::npos) throw std::invalid_argument("open tag");
                at_ = close + 1;
                continue;
            }
            out = Element{};
            while (at_ < text_.size() && !isSpace(text_[at_]) && text_[at_] != '>' &&
                   text_[at_] != '/')
                out.name += text_[at_++];
            readAttributes(out);
            return true;
        }
    }

  private:
    void skipSpace() {
        while (at_ < text_.size() && isSpace(text_[at_])) ++at_;
    }

    void readAttributes(Element& e) {
        for (;;) {
            skipSpace();
            if (at_ >= text_.size()) throw std::invalid_argument("element left open: " + e.name);
            if (text_[at_] == '>') {
                ++at_;
                return;
            }
            if (text_[at_] == '/') {
                ++at_;
                continue;
            }
            std::string name;
            while (at_ < text_.size() && !isSpace(text_[at_]) && text_[at_] != '=' &&
                   text_[at_] != '>')
                name += text_[at_++];
            skipSpace();
            if (at_ >= text_.size() || text_[at_] != '=')
                throw std::invalid_argument("attribute without value: " + name);
            ++at_;
            skipSpace();
            if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\''))
                throw std::invalid_argument("attribute value not quoted: " + name);
            const char quote = text_[at_++];
            std::size_t end = text_.find(quote, at_);
            if (end == std::string_view::npos)
                throw std::invalid_argument("attribute value left open: " + name);
            e.attributes[name] = std::string(text_.substr(at_, end - at_));
            at_ = end + 1;
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

std::string attribute(const Element& e, const std::string& name) {
    auto it = e.attributes.find(name);
    return it == e.attributes.end() ? std::string() : it->second;
}

}  // namespace

CustomUiMarkup readCustomUi(std::string_view markup) {
    CustomUiMarkup ui;
    Scanner scanner(markup);
    Element e;
    while (scanner.next(e)) {
        if (e.name == "customUI") {
            ui.xmlns = attribute(e, "xmlns");
            ui.onLoad = attribute(e, "onLoad");
        } else if (e.name == "tabSet") {
            ui.tabSet = attribute(e, "idMso");
        } else if (e.name == "tab") {
            ui.tab = attribute(e, "idMso");
            if (ui.tab.empty()) ui.tab = attribute(e, "id");
        } else if (e.name == "group") {
            ui.groupId = attribute(e, "id");
            ui.groupLabel = attribute(e, "label");
        } else if (e.name == "button") {
            ui.buttons.push_back({attribute(e, "id"), attribute(e, "label"), attribute(e, "size"),
                                  attribute(e, "onAction"), attribute(e, "getLabel"),
                                  attribute(e, "getScreentip"), attribute(e, "getImage")});
        }
    }
    return ui;
}

}  // namespace cq::test::e2e
