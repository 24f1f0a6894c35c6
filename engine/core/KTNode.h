#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/core/KTArray.h"
#include "engine/core/KTButtonName.h"
#include "engine/core/KTColor.h"
#include "engine/core/KTGeometry.h"
#include "engine/core/KTObject.h"
#include "engine/core/KTSourceBinding.h"
#include "engine/core/XMLElement.h"

namespace kt {

class KTAction;
class KTAffineAnimation;
class KTDataSource;
class KTMessage;
class KTRenderer;
class KTScene;
class KTState;

// Base of everything that is drawn or receives input. A node holds its children; a child knows its parent
// through a pointer that the parent clears whenever the child leaves it, so it never dangles. Walks over the
// child list go by index and hold the current child, so a child may add or remove nodes (itself included)
// from inside a call it receives.
class KTNode : public KTObject {
public:
    KT_CLASS(KTNode)

    using Ref = std::shared_ptr<KTNode>;

    KTNode();
    ~KTNode() override;
    KTNode(const KTNode&) = delete;
    KTNode& operator=(const KTNode&) = delete;

    template <typename T = KTNode>
    static std::shared_ptr<T> node() {
        return std::make_shared<T>();
    }

    // Tree.
    // Subclasses that keep some kinds of node apart from their children (frames, animations) override it.
    virtual void addChild(Ref child);
    void addChild(Ref child, std::string name);
    virtual void removeChild(KTNode* child);
    virtual void removeAllChildren();
    void clear() { removeAllChildren(); }
    void replaceChild(KTNode* old, Ref replacement);
    bool hasChild(const KTNode* child) const { return children_.containsObject(child); }
    bool hasChildren() const { return !children_.empty(); }
    Ref firstChild() const { return children_.firstObject(); }
    const KTArray<KTNode>& children() const { return children_; }
    KTNode* parent() const { return parent_; }
    // A direct child of that name ("tooltip" answers the tooltip); scenes look in their name registry first.
    virtual Ref getChildByName(std::string_view name) const;
    Ref getChildByClass(const KTClass& cls) const;
    template <typename T>
    std::shared_ptr<T> getChildByClass() const {
        return std::static_pointer_cast<T>(getChildByClass(T::staticClass()));
    }
    KTNode* getParentOfClass(const KTClass& cls) const;
    Ref getParentChildWithName(std::string_view name) const;
    virtual std::shared_ptr<KTScene> scene();
    void setScene(const std::shared_ptr<KTScene>& scene);

    // Geometry.
    CGPoint position() const { return position_; }
    void setPosition(CGPoint position) { position_ = position; }
    void moveTo(CGPoint position) { position_ = position; }
    float x() const { return position_.x; }
    float y() const { return position_.y; }
    void setX(float x) { position_.x = x; }
    void setY(float y) { position_.y = y; }
    CGSize size() const { return size_; }
    virtual void setSize(CGSize size) { size_ = size; }
    float w() const { return size_.width; }
    float h() const { return size_.height; }
    void setW(float w) { setSize({w, size_.height}); }
    void setH(float h) { setSize({size_.width, h}); }
    float scaleX() const { return scaleX_; }
    float scaleY() const { return scaleY_; }
    void setScaleX(float scale) { scaleX_ = scale; }
    void setScaleY(float scale) { scaleY_ = scale; }
    float angle() const { return angle_; }
    void setAngle(float degrees) { angle_ = degrees; }
    CGPoint center() const { return {position_.x + size_.width * 0.5f, position_.y + size_.height * 0.5f}; }
    CGRect getRect() const { return {position_, size_}; }
    CGPoint absolutePosition() const;
    CGPoint absoluteCenter() const;

    // Appearance and flags.
    Color color() const { return color_; }
    void setColor(Color color) { color_ = color; }
    bool visible() const { return visible_; }
    void setVisible(bool visible) { visible_ = visible; }
    bool enabled() const { return enabled_; }
    virtual void setEnabled(bool enabled) { enabled_ = enabled; }
    bool stateStop() const { return stateStop_; }
    void setStateStop(bool stop) { stateStop_ = stop; }
    bool hitTestEnabled() const { return hitTest_; }
    void setHitTest(bool enabled) { hitTest_ = enabled; }
    bool childHitTest() const { return childHitTest_; }
    void setChildHitTest(bool enabled) { childHitTest_ = enabled; }
    bool autoremove() const { return autoremove_; }
    void setAutoremove(bool autoremove) { autoremove_ = autoremove; }
    bool drawBackground() const { return drawBackground_; }
    Color backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(Color color);
    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    const std::string& text() const { return text_; }
    virtual void setText(const std::string& text) { text_ = text; }
    bool isOnStage() const { return isOnStage_; }
    KTRenderer* render() const;
    void setRender(const std::shared_ptr<KTRenderer>& render) { render_ = render; }

    // Layers: inside a layered subtree, higher layers are drawn after all lower ones whatever the tree order.
    bool layered() const { return layered_; }
    void setLayered(bool layered) { layered_ = layered; }
    int layer() const { return layer_; }
    void setLayer(int layer);
    int maxChildLayer() const { return maxChildLayer_; }
    void setMaxChildLayer(int layer);

    // Life cycle.
    virtual void onEnterStage();
    virtual void onExitStage();
    virtual void onFocus() {}
    virtual void onUnfocus() {}
    virtual void update(float) {}
    virtual void reset();
    void scheduleUpdate();
    void unscheduleUpdate();
    void runAction(std::shared_ptr<KTAction> action);
    void stopAllActions();

    // Drawing.
    virtual void visit();
    void visitLayered();
    void visitLayer(int layer);
    virtual void draw() {}
    virtual void drawAfterChildren() {}
    virtual void drawAfterLayeredChildren() {}

    // Input; points are in the caller's (the parent's) space.
    virtual void mouseMove(CGPoint point);
    virtual void buttonDown(ButtonName button, CGPoint point);
    virtual void buttonUp(ButtonName button, CGPoint point);
    virtual void keyDown(ButtonName button);
    virtual void keyUp(ButtonName button);
    virtual void textInput(const std::string& text);
    virtual void mouseEnter();
    virtual void mouseLeave();
    virtual bool hitTest(CGPoint point) const;
    Ref hoverChild() const { return hoverChild_.lock(); }

    // Handlers: "on_enter", "on_leave", "on_click", "on_mouse_down" and any other event name.
    void setHandlerByDefinition(const std::string& definition, const std::string& event);
    void setOnClick(const std::string& definition) { setHandlerByDefinition(definition, "on_click"); }
    void setOnClick(const std::string& operation, const std::string& argument) {
        setOnClick(operation + argument);
    }
    void callHandler(const std::string& event);
    bool hasHandler(const std::string& event) const { return handlers_.contains(event); }

    const Ref& tooltip() const { return tooltip_; }
    void setTooltip(Ref tooltip) { tooltip_ = std::move(tooltip); }

    // Key-framed transform animation played by the node's drawing (the actions module defines it).
    const std::shared_ptr<KTAffineAnimation>& affineAnimation() const { return affineAnimation_; }
    void setAffineAnimation(std::shared_ptr<KTAffineAnimation> animation) {
        affineAnimation_ = std::move(animation);
    }

    // Value providers; bound nodes do not keep them alive.
    std::shared_ptr<KTDataSource> dataSource() const { return dataSource_.source(); }
    // Follows the provider: every notification it sends reaches dataSourceChanged.
    void setDataSource(const std::shared_ptr<KTDataSource>& source);
    std::shared_ptr<KTDataSource> enableDataSource() const { return enableDataSource_.source(); }
    // Follows the provider: enabled now and after each of its changes takes the provider's truth value.
    void setEnableDataSource(const std::shared_ptr<KTDataSource>& source);

    // Named states. A switch applies to this node when it has the state and is passed on to the children
    // unless stateStop is set.
    void addState(std::shared_ptr<KTState> state);
    std::shared_ptr<KTState> stateNamed(std::string_view name) const;
    const KTState* currentState() const { return currentState_; }
    void setTransitionTime(const std::string& from, const std::string& to, float seconds);
    // Uses the transition time from the current state (or "default"), else 0.5 s for this node alone.
    void setState(const std::string& name);
    void setState(const std::string& name, float seconds) { setState(name, seconds, true); }
    virtual void setState(const std::string& name, float seconds, bool overrideChildren);

    // Scene files. A missing or damaged file loads nothing, and so does a file that is being loaded already
    // (a file that includes itself).
    template <typename T = KTNode>
    static std::shared_ptr<T> nodeFromFile(const std::string& path) {
        auto loaded = node<T>();
        loaded->loadFromFile(path);
        return loaded;
    }
    void loadFromFile(const std::string& path);
    // The innermost scene file being loaded right now, for reports about its content; "(no file)" outside.
    static std::string fileBeingLoaded();
    // The element's "content" file first, then its attributes, then its states, transitions, tooltip and
    // child nodes in document order; children are complete before they are added.
    virtual void loadFromXMLElement(const XMLElement& element);
    // The generic attributes in a fixed order; the whole set stays readable through attributes().
    // Subclasses read their own keys before or after calling this.
    virtual void setAttributes(const XMLAttributes& attributes);
    const XMLAttributes& attributes() const { return attributes_; }

    // Loads an effect file into a new node, added last at the point (its top-left), that removes itself
    // once all its children have. Without a point the effect starts at this node's centre.
    Ref startEffect(const std::string& path, CGPoint point);
    Ref startEffect(const std::string& path);

    std::string description() const;

protected:
    void setCurrentState(const KTState* state) { currentState_ = state; }
    // The bound provider's value, once when it is bound (`bound` true) and after each of its notifications.
    virtual void dataSourceChanged(bool /*bound*/) {}

private:
    void forwardToHoverChild(auto&& call);
    void setHoverChild(const Ref& child);
    void visitChildren(auto&& visitChild);
    void removeAutoremovedChildren();
    void leaveParentOf(KTNode& child);
    void loadChildElement(const XMLElement& child);
    // A definition that names no provider is reported once with the file that holds it.
    void bindDataSource(const std::string& definition, const std::string& file);
    void bindEnableDataSource(const std::string& definition, const std::string& file);
    // None while the node has no scene yet and the definition names a scene operation.
    std::optional<std::shared_ptr<KTDataSource>> findDataSource(const std::string& definition);
    void resolvePendingBindings();

    CGPoint position_;
    float scaleX_ = 1;
    float scaleY_ = 1;
    float angle_ = 0;
    CGSize size_;
    Color color_ = kColorWhite;
    std::string name_;
    KTArray<KTNode> children_;
    KTNode* parent_ = nullptr;
    std::weak_ptr<KTScene> scene_;
    std::weak_ptr<KTRenderer> render_;
    bool visible_ = true;
    bool enabled_ = true;
    bool stateStop_ = false;
    bool hitTest_ = true;
    bool childHitTest_ = false;
    bool autoremove_ = false;
    bool drawBackground_ = false;
    Color backgroundColor_ = kColorWhite;
    std::weak_ptr<KTNode> hoverChild_;
    std::map<std::string, std::shared_ptr<KTMessage>, std::less<>> handlers_;
    std::map<std::string, std::shared_ptr<KTState>, std::less<>> states_;
    const KTState* currentState_ = nullptr;
    std::map<std::string, float, std::less<>> transitionTimes_;
    std::string text_;
    bool isOnStage_ = false;
    Ref tooltip_;
    std::shared_ptr<KTAffineAnimation> affineAnimation_;
    KTSourceBinding<KTDataSource> dataSource_;
    KTSourceBinding<KTDataSource> enableDataSource_;
    // Bindings to scene operations wait until the node knows its scene.
    struct PendingBindings {
        std::string dataSource;
        std::string enableDataSource;
        std::string file;
    };
    std::unique_ptr<PendingBindings> pendingBindings_;
    XMLAttributes attributes_;
    bool layered_ = false;
    int layer_ = 0;
    int maxChildLayer_ = 0;
    bool hasLayeredChildren_ = false;
};

}  // namespace kt
