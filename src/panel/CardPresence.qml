import QtQuick

// Tells a card's model when the card comes on screen and when it leaves (a
// hidden tab, the panel closing), once each: the model polls its source only
// in between.
QtObject {
    id: presence

    property bool shown: false
    // Has cardShown() and cardHidden(); may be null.
    property QtObject model: null
    property bool counted: false

    function update() {
        const want = shown && model !== null
        if (want === counted)
            return
        counted = want
        if (want)
            model.cardShown()
        else if (model)
            model.cardHidden()
    }
    onShownChanged: update()
    onModelChanged: update()
    Component.onCompleted: update()
    Component.onDestruction: if (counted && model) model.cardHidden()
}
