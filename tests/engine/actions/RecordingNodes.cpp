#include "tests/engine/actions/RecordingNodes.h"

namespace kt::test {

const KTClass& RecordingNode::staticClass() {
    static const KTClass& cls = KTClass::define<RecordingNode>("RecordingNode", KTNode::staticClass())
                                    .operation("bump", &RecordingNode::bump)
                                    .operation("note:", &RecordingNode::note);
    return cls;
}
KT_REGISTER_CLASS(RecordingNode);

const KTClass& RecordingScene::staticClass() {
    static const KTClass& cls = KTClass::define<RecordingScene>("RecordingScene", KTScene::staticClass())
                                    .operation("note:", &RecordingScene::note);
    return cls;
}
KT_REGISTER_CLASS(RecordingScene);

}  // namespace kt::test
