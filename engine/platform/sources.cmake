target_sources(quorvane_engine PRIVATE
    platform/AtomicFile.cpp
    platform/DateTime.cpp
    platform/MainThreadQueue.cpp
    platform/TextCompare.cpp
    platform/Thread.cpp
)
