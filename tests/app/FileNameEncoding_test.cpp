#include "app/document/ReloadPrompt.h"
#include "watch/FileNameEncoding.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace {

TEST(FileNameEncodingTest, EveryByteSequenceComesBackAndUtf8DecodesAsQtDoes)
{
    for (const QByteArray& utf8 :
         {QByteArray("plain.ngc"), QByteArray("M\xc3\xbcller/\xe2\x82\xac.ngc"),
          QByteArray("\xf0\x9f\x94\xa7 tool.ngc"), QByteArray()}) {
        EXPECT_EQ(DecodeFileName(utf8), QFile::decodeName(utf8)) << utf8.toStdString();
        EXPECT_EQ(EncodeFileName(DecodeFileName(utf8)), utf8);
    }
    // Latin-1, cut sequences, overlong forms, encoded surrogates and stray continuation bytes.
    for (const QByteArray& bytes :
         {QByteArray("bad\xff\xfe.ngc"), QByteArray("caf\xe9.ngc"), QByteArray("\xe2\x82"),
          QByteArray("\xc0\xaf"), QByteArray("\xed\xb2\x80"),
          QByteArray("\x80\xbf x \xf4\x90\x80\x80")}) {
        const QString name = DecodeFileName(bytes);
        EXPECT_FALSE(name.contains(QChar(0xFFFD))) << bytes.toHex().toStdString();
        EXPECT_EQ(EncodeFileName(name), bytes) << bytes.toHex().toStdString();
    }
    std::mt19937 random(14);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes(static_cast<qsizetype>(random() % 12), '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(random() % 255 + 1);  // a name holds no zero byte
        EXPECT_EQ(EncodeFileName(DecodeFileName(bytes)), bytes) << bytes.toHex().toStdString();
    }
}

TEST(FileNameEncodingTest, ANameFromAFileDialogFindsItsFile)
{
    QTemporaryDir folder;
    const QByteArray base = QFile::encodeName(folder.path());
    const auto create = [&](const QByteArray& name) {
        std::fclose(std::fopen((base + name).constData(), "w"));
    };
    create("/bad\xff\xfe.ngc");
    EXPECT_EQ(EncodeFileName(RecoverDialogFileName(QFile::decodeName(base + "/bad\xff\xfe.ngc"))),
              base + "/bad\xff\xfe.ngc");
    // Two files that the dialog shows alike: neither is guessed.
    create("/two\xff.ngc");
    create("/two\xfe.ngc");
    const QString ambiguous = QFile::decodeName(base + "/two\xff.ngc");
    EXPECT_EQ(RecoverDialogFileName(ambiguous), ambiguous);
    EXPECT_EQ(RecoverDialogFileName(folder.path() + "/plain.ngc"), folder.path() + "/plain.ngc");
}

TEST(ReloadPromptTest, NoticesWhileTheQuestionIsOpenAskOnceMoreAfterNo)
{
    TReloadPrompt prompt;
    int asked = 0;
    int noticesWhileOpen = 0;
    // The first question sees three more notices while open; the second sees none.
    const std::function<bool()> question = [&] {
        ++asked;
        EXPECT_TRUE(prompt.QuestionOpen());
        for (; asked == 1 && noticesWhileOpen < 3; ++noticesWhileOpen)
            prompt.FileChanged(question);
        return false;
    };
    prompt.FileChanged(question);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(prompt.QuestionOpen());

    // A Yes (the file was reloaded) ends it, whatever came in meanwhile; so does a failure.
    asked = 0;
    prompt.FileChanged([&] {
        ++asked;
        prompt.FileChanged([] { return false; });
        return true;
    });
    EXPECT_EQ(asked, 1);
    EXPECT_THROW(prompt.FileChanged([]() -> bool { throw std::runtime_error("reload failed"); }),
                 std::runtime_error);
    EXPECT_FALSE(prompt.QuestionOpen());
}

}  // namespace
