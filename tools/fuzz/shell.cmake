# Fuzz targets for the shell's readers of outside text: the settings store
# file and the text catalogue. Included from this folder's CMakeLists.txt
# after murmelo_add_fuzzer is defined.
murmelo_add_fuzzer(fuzz_store SOURCES fuzz_store.cpp FuzzFile.h ${_src}/shell/SettingsStore.cpp)
murmelo_add_fuzzer(fuzz_catalogue SOURCES fuzz_catalogue.cpp FuzzFile.h
                   ${_src}/shell/TextCatalogue.cpp ${_src}/shell/CatalogueDefaults.cpp)
