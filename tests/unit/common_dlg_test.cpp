#include <gtest/gtest.h>

#include "fakes/common_dialog_fakes.h"
#include "fakes/fakes.h"
#include "platform/common_dlg.h"
#include "platform/file_dialogs.h"

using namespace tavi;
using namespace std::string_literals;
using fakes::FakeCommonDialogs;

TEST(CommonDlgErrors, ExtendedErrorsMapToErrNumbers) {
    const struct {
        uint32_t code;
        int32_t errNumber;
    } cases[] = {
        {2, 32765},      {5, 32760},      {6, 32761},      {7, 32760},      {8, 32759},      {9, 32758},
        {10, 32757},     {0x1000, 28671}, {0x1001, 28670}, {0x1002, 28669}, {0x1003, 28668}, {0x1004, 28667},
        {0x1005, 28666}, {0x1006, 28665}, {0x1007, 28664}, {0x1008, 28663}, {0x1009, 28662}, {0x100A, 28661},
        {0x100B, 28660}, {0x2001, 24574}, {0x3001, 20478}, {0x3002, 20477}, {0x3003, 20476},
        // Everything else cannot be told apart.
        {1, -32768},     {3, -32768},     {4, -32768},     {11, -32768},    {12, -32768},    {0x100C, -32768},
        {0x2000, -32768}, {0x2002, -32768}, {0x3000, -32768}, {0x4001, -32768}, {0xFFFF, -32768},
        {0xFFFFFFFF, -32768},
    };
    for (const auto& c : cases) {
        for (const bool cancelError : {false, true}) {
            const MappedError mapped = MapExtendedError(c.code, cancelError);
            EXPECT_EQ(mapped.errNumber, c.errNumber) << "code " << c.code;
            EXPECT_FALSE(mapped.cancelButton) << "code " << c.code;
        }
    }
    EXPECT_EQ(MapExtendedError(0, true).errNumber, 32755) << "a cancel the caller asked to hear of";
    EXPECT_TRUE(MapExtendedError(0, true).cancelButton);
    EXPECT_EQ(MapExtendedError(0, false).errNumber, 0) << "a cancel nobody asked to hear of";
    EXPECT_FALSE(MapExtendedError(0, false).cancelButton);
}

TEST(CommonDlgErrors, EveryErrNumberHasItsMessage) {
    const struct {
        int32_t errNumber;
        const char* text;
    } cases[] = {
        {0, ""},
        {-32768, "関数がﾀﾞｲｱﾛｸﾞ ﾎﾞｯｸｽをﾛｰﾄﾞできません。"},
        {20476, "ﾒﾝﾊﾞ lpstrFile が指すﾊﾞｯﾌｧが小さすぎます。"},
        {20477, "ﾌｧｲﾙ名が無効です。"},
        {20478, "ﾒﾓﾘ不足のために、ﾘｽﾄ ﾎﾞｯｸｽをｻﾌﾞｸﾗｽ化できません。"},
        {24574, "ﾌｫﾝﾄが存在しません。"},
        {28660, "WIN.INI ﾌｧｲﾙ内の [devices] ｾｸｼｮﾝに、必要なﾌﾟﾘﾝﾀについてのｴﾝﾄﾘがありません。"},
        {28661, "PrintDlg 関数が情報ｺﾝﾃｷｽﾄを作成できません。"},
        {28662, "DevMode ﾃﾞｰﾀ構造と DevNames ﾃﾞｰﾀ構造のﾃﾞｰﾀが異なるﾌﾟﾘﾝﾀを指しています。"},
        {28663, "通常使うﾌﾟﾘﾝﾀが設定されていません。"},
        {28664, "ﾌﾟﾘﾝﾀ ﾄﾞﾗｲﾊﾞが見つかりません。"},
        {28665, "PrintDlg 関数を初期化できません。"},
        {28666, "ﾌﾟﾘﾝﾀ ﾄﾞﾗｲﾊﾞが DevMode ﾃﾞｰﾀ構造を初期化できません。"},
        {28667, "PrintDlg 関数が、指定したﾌﾟﾘﾝﾀ ﾄﾞﾗｲﾊﾞをﾛｰﾄﾞできません。"},
        {28668, "PDReturnDefault ﾌﾗｸﾞが設定されていますが、hDevMode ﾌｨｰﾙﾄﾞまたは hDevNames ﾌｨｰﾙﾄﾞが 0 ではありません。"},
        {28671, "PDReturnDefault ﾌﾗｸﾞが設定されていますが、hDevMode ﾌｨｰﾙﾄﾞまたは hDevNames ﾌｨｰﾙﾄﾞが 0 ではありません。"},
        {28669, "CommonDialog 関数が WIN.INI の [devices] ｾｸｼｮﾝの文字列を解析できません。"},
        {28670, "必要なﾘｿｰｽを読み込めません。"},
        {32751, "Microsoft Windows のﾍﾙﾌﾟを呼び出せません。"},
        {32752, "FileName ﾌﾟﾛﾊﾟﾃｨまたは Filter ﾌﾟﾛﾊﾟﾃｨにﾒﾓﾘを割り当てられません。"},
        {32755, "[ｷｬﾝｾﾙ] ボタンが選択されました。"},
        {32757, "関数が、ﾊﾝﾄﾞﾙに関連付けられたﾒﾓﾘをﾛｯｸできません。"},
        {32758, "関数が、内部のﾃﾞｰﾀ構造にﾒﾓﾘを割り当てられません。"},
        {32759, "関数が指定したﾘｿｰｽをﾛｯｸできません。"},
        {32760, "関数が指定したﾘｿｰｽをﾛｰﾄﾞできません。"},
        {32761, "関数が指定したﾘｿｰｽをﾛｰﾄﾞできません。"},
        {32765, "関数を初期化できません。"},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrDescriptionOf(c.errNumber), c.text) << c.errNumber;
    for (const int32_t unknown : {32762, 32763, 32764, 32756, 32753, 28659, 28672, 1, -1, -32767, 32767})
        EXPECT_EQ(ErrDescriptionOf(unknown), "未知のｴﾗｰです。") << unknown;
}

TEST(CommonDlgFilter, BarsBecomeNulsAndTheListEndsInOne) {
    const struct {
        const char* filter;
        std::string converted;
    } cases[] = {
        {"Exe Files (*.exe)|*.exe|All Files (*.*)|*.*", "Exe Files (*.exe)\0*.exe\0All Files (*.*)\0*.*\0"s},
        {"Wave Files (*.wav)|*.wav|", "Wave Files (*.wav)\0*.wav\0"s},  // no second NUL after a final bar
        {"*.txt", "*.txt\0"s},
        {"", "\0"s},
        {"||", "\0\0"s},
        {"ﾃｷｽﾄ (*.txt)|*.txt", "ﾃｷｽﾄ (*.txt)\0*.txt\0"s},
    };
    for (const auto& c : cases) EXPECT_EQ(ConvertFilter(c.filter), c.converted) << c.filter;
}

namespace {

class CommonDlgTest : public ::testing::Test {
protected:
    FakeCommonDialogs fake;
    CommonDlg dlg{fake};
};

}  // namespace

TEST_F(CommonDlgTest, TheOpenRequestCarriesTheDefaults) {
    dlg.SetForm(0x1234);
    dlg.ShowOpen();
    ASSERT_EQ(fake.fileRequests.size(), 1u);
    const FileDialogRequest& r = fake.fileRequests[0];
    EXPECT_EQ(r.owner, 0x1234u);
    EXPECT_FALSE(r.save);
    EXPECT_EQ(r.filter, "All Files (*.*)\0*.*\0"s);
    EXPECT_EQ(r.filterIndex, 0);
    EXPECT_EQ(r.bufferSize, 50000u);
    EXPECT_EQ(r.initialFile, "");
    EXPECT_EQ(r.fileTitle, std::string(49999, ' '));
    EXPECT_EQ(r.defaultExtension, "\0"s);
    EXPECT_EQ(r.flags, 0u);
    EXPECT_EQ(dlg.Action(), kActionOpen);
}

TEST_F(CommonDlgTest, TheFileBufferHoldsMaxFileSizeCharacters) {
    const struct {
        int32_t maxFileSize;
        std::string name;
        std::string initial;
        uint32_t bufferSize;
    } cases[] = {
        {10, "abc.exe", "abc.exe", 10},
        {10, "123456789", "123456789", 10},    // exactly fills, NUL last
        {10, "1234567890X", "123456789", 10},  // cut before the dialog sees it
        {4, "ｱｲｳｴｵ", "ｱｲｳ", 4},                 // characters, not bytes
        {4, "ab😀c", "ab", 4},                   // a surrogate pair is not split
        {5, "ab😀c", "ab😀", 5},
        {1, "abc", "", 1},
        {0, "abc", "", 0},  // nothing fits: the system reports the unusable buffer
        {-5, "abc", "", 0},
    };
    for (const auto& c : cases) {
        dlg.SetMaxFileSize(c.maxFileSize);
        dlg.SetFileName(c.name);
        dlg.ShowSave();
        ASSERT_FALSE(fake.fileRequests.empty());
        EXPECT_EQ(fake.fileRequests.back().initialFile, c.initial) << c.maxFileSize << " " << c.name;
        EXPECT_EQ(fake.fileRequests.back().bufferSize, c.bufferSize) << c.maxFileSize;
        EXPECT_TRUE(fake.fileRequests.back().save);
    }
}

TEST_F(CommonDlgTest, TheResultIsCutFromTheBuffers) {
    dlg.SetFileName("a_much_longer_initial_name.exe   ");
    EXPECT_EQ(dlg.FileName(), "a_much_longer_initial_name.exe") << "trailing spaces go when set";
    dlg.SetFileTitle("title  ");
    EXPECT_EQ(dlg.FileTitle(), "title");

    // A single path shorter than the initial name: what follows its NUL is
    // left over, not part of the choice.
    fake.fileResults.push_back(FakeCommonDialogs::Chose({.initialFile = "a_much_longer_initial_name.exe",
                                                         .bufferSize = 60,
                                                         .fileTitle = "title"},
                                                        "C:\\a.exe"));
    dlg.ShowOpen();
    EXPECT_TRUE(dlg.Confirmed());
    EXPECT_EQ(dlg.FileName(), "C:\\a.exe");
    EXPECT_EQ(dlg.FileTitle(), "a.exe");

    // Several files: the folder and the names up to the two NULs.
    fake.fileResults.push_back({{true, 0}, "C:\\Docs\0one.txt\0two.txt\0\0ft\0\0\0"s, true, "one.txt\0xx"s});
    dlg.ShowOpen();
    EXPECT_EQ(dlg.FileName(), "C:\\Docs\0one.txt\0two.txt"s);
    EXPECT_EQ(dlg.FileTitle(), "one.txt");
    EXPECT_EQ(dlg.ErrNumber(), 0);
}

TEST_F(CommonDlgTest, AFailureOrCancelKeepsTheNameAndRecordsTheError) {
    dlg.SetFileName("keep.exe");
    fake.fileResults.push_back(FakeCommonDialogs::Failed(0x3003));
    dlg.ShowOpen();
    EXPECT_EQ(dlg.ErrNumber(), 20476);
    EXPECT_EQ(dlg.ErrDescription(), "ﾒﾝﾊﾞ lpstrFile が指すﾊﾞｯﾌｧが小さすぎます。");
    EXPECT_EQ(dlg.FileName(), "keep.exe");

    dlg.ShowOpen();  // cancelled, not asked to hear of it
    EXPECT_EQ(dlg.ErrNumber(), 0) << "each operation clears the last error";
    EXPECT_FALSE(dlg.CancelButton());
    EXPECT_FALSE(dlg.Confirmed());

    dlg.SetCancelError(true);
    dlg.ShowOpen();
    EXPECT_EQ(dlg.ErrNumber(), 32755);
    EXPECT_TRUE(dlg.CancelButton());
    fake.fileResults.push_back(FakeCommonDialogs::Chose(fake.fileRequests.back(), "C:\\new.exe"));
    dlg.ShowOpen();
    EXPECT_FALSE(dlg.CancelButton()) << "cleared by the next operation";
    EXPECT_EQ(dlg.FileName(), "C:\\new.exe");

    fake.fileOutOfMemory = true;
    dlg.ShowOpen();
    EXPECT_EQ(dlg.ErrNumber(), 32752) << "buffers that cannot be had are an error, not a choice";
    EXPECT_EQ(dlg.FileName(), "C:\\new.exe");
}

namespace {

class FileDialogTest : public ::testing::Test {
protected:
    FakeCommonDialogs fake;
    fakes::FakeMessageBoxes messages;
    FileChoice choice{0x42, "登録ｱﾌﾟﾘｹｰｼｮﾝの指定", "Exe Files (*.exe)|*.exe|All Files (*.*)|*.*", "memo.exe", 2,
                      "C:\\Tools"};
};

}  // namespace

TEST_F(FileDialogTest, AsksForAnExistingFileWithoutMovingTheCurrentFolder) {
    DialogFileChooser chooser(fake, messages);
    fake.fileResults.push_back(FakeCommonDialogs::Chose({.initialFile = "memo.exe", .bufferSize = 50000},
                                                        "C:\\Tools\\ﾒﾓ帳.exe"));
    EXPECT_EQ(chooser.ChooseFile(choice), "C:\\Tools\\ﾒﾓ帳.exe");
    ASSERT_EQ(fake.fileRequests.size(), 1u);
    const FileDialogRequest& r = fake.fileRequests[0];
    EXPECT_EQ(r.owner, 0x42u);
    EXPECT_FALSE(r.save);
    EXPECT_EQ(r.title, "登録ｱﾌﾟﾘｹｰｼｮﾝの指定");
    EXPECT_EQ(r.filter, "Exe Files (*.exe)\0*.exe\0All Files (*.*)\0*.*\0"s);
    EXPECT_EQ(r.initialFile, "memo.exe");
    EXPECT_EQ(r.defaultExtension, "exe");
    EXPECT_EQ(r.initialFolder, "C:\\Tools");
    EXPECT_EQ(r.filterIndex, 2);
    EXPECT_EQ(r.flags, 0x201804u | 0x8u);
    EXPECT_TRUE(messages.shown.empty());

    ShowFileDialog(fake, messages, {0, "t", "*.*", "noext", 1, ""}, true);
    EXPECT_TRUE(fake.fileRequests.back().save);
    EXPECT_EQ(fake.fileRequests.back().flags, 0x200004u | 0x8u);
    EXPECT_EQ(fake.fileRequests.back().defaultExtension, "");
}

TEST_F(FileDialogTest, AnInvalidNameIsRetriedOnceWithoutIt) {
    const struct {
        std::vector<FileDialogResult> results;
        size_t dialogs;
        std::string chosen;
        size_t boxes;
    } cases[] = {
        {{FakeCommonDialogs::Failed(0x3002), FakeCommonDialogs::Chose({}, "C:\\x.exe")}, 2, "C:\\x.exe", 0},
        {{FakeCommonDialogs::Failed(0x3002), FakeCommonDialogs::Failed(0)}, 2, "", 0},
        {{FakeCommonDialogs::Failed(0x3002), FakeCommonDialogs::Failed(0x3002)}, 2, "", 1},  // only once
        {{FakeCommonDialogs::Failed(0x3003)}, 1, "", 1},  // other errors are not retried
    };
    for (const auto& c : cases) {
        fake.fileRequests.clear();
        messages.shown.clear();
        fake.fileResults.assign(c.results.begin(), c.results.end());
        EXPECT_EQ(ShowFileDialog(fake, messages, choice, false), c.chosen);
        ASSERT_EQ(fake.fileRequests.size(), c.dialogs);
        EXPECT_EQ(messages.shown.size(), c.boxes);
        if (c.dialogs == 2) {
            EXPECT_EQ(fake.fileRequests[1].initialFile, "") << "the refused name is not offered again";
            EXPECT_EQ(fake.fileRequests[1].filterIndex, 2);
            EXPECT_EQ(fake.fileRequests[1].flags, fake.fileRequests[0].flags);
        }
    }
}

TEST_F(FileDialogTest, ACancelIsSilentAndAFailureIsShown) {
    EXPECT_EQ(ShowFileDialog(fake, messages, choice, false), "") << "cancelled";
    EXPECT_TRUE(messages.shown.empty());

    const struct {
        uint32_t code;
        bool outOfMemory;
        const char* text;
    } cases[] = {
        {0x3003, false, "ﾒﾝﾊﾞ lpstrFile が指すﾊﾞｯﾌｧが小さすぎます。"},
        {2, false, "関数を初期化できません。"},
        {0xFFFF, false, "関数がﾀﾞｲｱﾛｸﾞ ﾎﾞｯｸｽをﾛｰﾄﾞできません。"},
        {0, true, "FileName ﾌﾟﾛﾊﾟﾃｨまたは Filter ﾌﾟﾛﾊﾟﾃｨにﾒﾓﾘを割り当てられません。"},
    };
    for (const auto& c : cases) {
        messages.shown.clear();
        fake.fileOutOfMemory = c.outOfMemory;
        fake.fileResults.push_back(FakeCommonDialogs::Failed(c.code));
        EXPECT_EQ(ShowFileDialog(fake, messages, choice, false), "") << c.code;
        ASSERT_EQ(messages.shown.size(), 1u) << c.code;
        EXPECT_EQ(messages.shown[0].text, c.text);
        EXPECT_EQ(messages.shown[0].caption, "登録ｱﾌﾟﾘｹｰｼｮﾝの指定");
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
        EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
        fake.fileResults.clear();
    }
}

TEST_F(FileDialogTest, FoldersComeFromTheFileSystemOnly) {
    DialogFileChooser chooser(fake, messages);
    const struct {
        FolderBrowseResult result;
        std::string chosen;
    } cases[] = {
        {{true, "ﾃﾞｽｸﾄｯﾌﾟ", "C:\\ﾃﾞｰﾀ"}, "C:\\ﾃﾞｰﾀ"},
        {{true, "ﾏｲ ｺﾝﾋﾟｭｰﾀ", ""}, "ﾏｲ ｺﾝﾋﾟｭｰﾀ"},  // no path: its display name
        {{false, "ignored", "C:\\ignored"}, ""},
    };
    for (const auto& c : cases) {
        fake.folderResults.push_back(c.result);
        EXPECT_EQ(chooser.ChooseFolder(0x42, "ﾌｫﾙﾀﾞを選択して下さい"), c.chosen);
        const FolderBrowseRequest& r = fake.folderRequests.back();
        EXPECT_EQ(r.owner, 0x42u);
        EXPECT_EQ(r.rootFolder, 0);
        EXPECT_EQ(r.prompt, "ﾌｫﾙﾀﾞを選択して下さい");
        EXPECT_EQ(r.flags, 1u);
    }
    EXPECT_TRUE(messages.shown.empty());
}
