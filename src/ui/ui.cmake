target_sources(talvo_core PRIVATE
)
target_sources(talvo_core PRIVATE
    ui/ContinuousRoundedRectangle.cpp ui/ContinuousRoundedRectangle.h
    ui/OutlinePath.cpp ui/OutlinePath.h
    ui/OutlineShape.cpp ui/OutlineShape.h
    ui/SpringMotion.cpp ui/SpringMotion.h
    ui/Springs.h
    ui/SymbolTable.cpp ui/SymbolTable.h
)
qt_target_qml_sources(talvo_core QML_FILES
    ui/MotionSpring.qml
    ui/SymbolImage.qml
)
target_sources(talvo_core PRIVATE
    ui/QmlScheduler.h
    ui/GlassCardItem.cpp ui/GlassCardItem.h
    ui/PaintedItem.cpp ui/PaintedItem.h
    ui/RoundedImage.cpp ui/RoundedImage.h
)
