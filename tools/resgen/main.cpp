// resgen: draws the add-ins' bitmaps and icons into outlook/res/ and word/res/.
//   resgen REPOSITORY_ROOT
// The files are committed; run this after changing the artwork, then commit them again.

#include "tools/resgen/ResourceFiles.h"

#include <exception>
#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: resgen REPOSITORY_ROOT\n";
        return 2;
    }
    try {
        for (const auto& file : cq::resgen::resourceFiles()) {
            const std::string path = std::string(argv[1]) + "/" + file.path;
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(file.bytes.data()),
                      static_cast<std::streamsize>(file.bytes.size()));
            out.close();
            if (!out) {
                std::cerr << "resgen: cannot write " << path << "\n";
                return 1;
            }
            std::cout << path << " (" << file.bytes.size() << " bytes)\n";
        }
    } catch (const std::exception& e) {
        std::cerr << "resgen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
