target_sources(quorvane_engine PRIVATE
    search/Checksum.cpp
    search/FilesListFormat.cpp
    search/FilList.cpp
)
