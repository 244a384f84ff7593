// Every program is built with 64-bit file offsets (the top CMakeLists.txt):
// on a 32-bit system without them, readdir fails with EOVERFLOW on file
// systems whose directory positions are 64-bit hashes (ext4), and a program
// that lists a directory sees it empty or broken.
#include <dirent.h>
#include <glib.h>
#include <glib/gstdio.h>
#include <gtest/gtest.h>
#include <sys/types.h>

#include <cerrno>
#include <memory>
#include <string>

TEST(LargeFiles, OffsetsAndInodesAre64Bits)
{
    EXPECT_EQ(sizeof(off_t), 8u);
    EXPECT_EQ(sizeof(ino_t), 8u);
}

TEST(LargeFiles, ReadsEveryEntryOfADirectory)
{
    g_autoptr(GError) error = nullptr;
    g_autofree char* dir = g_dir_make_tmp("velkin-largefiles-XXXXXX", &error);
    ASSERT_NE(dir, nullptr) << error->message;
    const int files = 64;
    for (int i = 0; i < files; ++i) {
        g_autofree char* path = g_strdup_printf("%s/menu-%d.json", dir, i);
        ASSERT_TRUE(g_file_set_contents(path, "{}", -1, nullptr));
    }
    int seen = 0;
    errno = 0;
    {
        const std::unique_ptr<DIR, int (*)(DIR*)> d(opendir(dir), closedir);
        ASSERT_TRUE(d);
        while (const dirent* entry = readdir(d.get())) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                ++seen;
        }
    }
    const int read_errno = errno;
    for (int i = 0; i < files; ++i) {
        g_autofree char* path = g_strdup_printf("%s/menu-%d.json", dir, i);
        g_remove(path);
    }
    g_rmdir(dir);
    EXPECT_EQ(read_errno, 0) << g_strerror(read_errno);
    EXPECT_EQ(seen, files);
}
