#include "common/host/CommandBars.h"

namespace cq {

void CommandBarButton::SetStyle(std::int32_t style) const { object_.put("Style", style); }
void CommandBarButton::SetBeginGroup(bool beginGroup) const {
    object_.put("BeginGroup", beginGroup);
}
void CommandBarButton::SetCaption(const std::string& caption) const {
    object_.put("Caption", caption);
}
void CommandBarButton::SetTooltipText(const std::string& text) const {
    object_.put("TooltipText", text);
}
void CommandBarButton::SetTag(const std::string& tag) const { object_.put("Tag", tag); }
void CommandBarButton::SetVisible(bool visible) const { object_.put("Visible", visible); }
void CommandBarButton::SetFaceId(std::int32_t faceId) const { object_.put("FaceId", faceId); }

std::string CommandBarButton::Caption() const { return object_.get("Caption").toString(); }
std::string CommandBarButton::TooltipText() const { return object_.get("TooltipText").toString(); }
std::string CommandBarButton::Tag() const { return object_.get("Tag").toString(); }
bool CommandBarButton::Visible() const { return object_.get("Visible").toBool(); }

void CommandBarButton::Delete() const { object_.call("Delete"); }

std::int32_t CommandBarControls::Count() const { return object_.get("Count").toInt(); }

CommandBarButton CommandBarControls::Add(Variant Type, Variant Id, Variant Parameter,
                                         Variant Before, Variant Temporary) const {
    return CommandBarButton(object_
                                .call("Add", std::move(Type), std::move(Id), std::move(Parameter),
                                      std::move(Before), std::move(Temporary))
                                .toObject());
}

CommandBarControls CommandBar::Controls() const {
    return CommandBarControls(object_.get("Controls").toObject());
}

Dispatch CommandBar::FindControl(Variant Type, Variant Id, Variant Tag, Variant Visible,
                                 Variant Recursive) const {
    return object_
        .call("FindControl", std::move(Type), std::move(Id), std::move(Tag), std::move(Visible),
              std::move(Recursive))
        .toObject();
}

CommandBarControls CommandBarPopup::Controls() const {
    return CommandBarControls(object_.get("Controls").toObject());
}

CommandBar CommandBarPopup::CommandBar() const {
    return cq::CommandBar(object_.get("CommandBar").toObject());
}

CommandBar CommandBars::Item(const std::string& name) const {
    return cq::CommandBar(object_.get("Item", name).toObject());
}

}  // namespace cq
