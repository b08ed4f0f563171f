// Zips the XML parts of a document template into a .dotx file.
// Usage: ravnobor_mkdotx <output.dotx> <folder>...  A part in a later folder replaces
// the same part of an earlier one, so templates share their common parts.
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s output.dotx folder...\n", argv[0]);
        return 2;
    }
    std::map<std::string, fs::path> parts;
    for (int i = 2; i < argc; ++i) {
        const fs::path root = argv[i];
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (entry.is_regular_file())
                parts[fs::relative(entry.path(), root).generic_string()] = entry.path();
        }
    }
    const fs::path output = argv[1];
    fs::remove(output);
    int error = 0;
    zip_t* archive = zip_open(output.c_str(), ZIP_CREATE | ZIP_EXCL, &error);
    if (!archive) {
        std::fprintf(stderr, "cannot create %s (libzip error %d)\n", output.c_str(), error);
        return 1;
    }
    // The content types part comes first, as word processors write it.
    std::vector<std::string> names;
    for (const auto& [name, path] : parts)
        names.push_back(name);
    std::stable_partition(names.begin(), names.end(), [](const std::string& n) { return n == "[Content_Types].xml"; });
    for (const std::string& name : names) {
        zip_source_t* source = zip_source_file(archive, parts[name].c_str(), 0, -1);
        const zip_int64_t index = source ? zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            std::fprintf(stderr, "cannot add %s: %s\n", name.c_str(), zip_strerror(archive));
            zip_source_free(source);
            zip_discard(archive);
            return 1;
        }
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 9);
        zip_file_set_mtime(archive, zip_uint64_t(index), 0, 0); // the same bytes on every build
    }
    if (zip_close(archive) != 0) {
        std::fprintf(stderr, "cannot write %s: %s\n", output.c_str(), zip_strerror(archive));
        zip_discard(archive);
        return 1;
    }
    return 0;
}
