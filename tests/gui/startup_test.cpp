#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "screen_test.h"

// The configurator as its users start it, in a process of its own, up to its
// shown main window: with a program folder given, and in the per-user folder.
// Its LANGUAGE folder gets the shipped languages, and nothing found there
// keeps it from coming up in a language it can read.
class StartupTest : public sw48230::test::ScreenTest {
  Q_OBJECT

  static QString shipped(const QString& name) {
    return QFileInfo(QStringLiteral(SW48230_PROGRAM_PATH)).dir().filePath(QStringLiteral("LANGUAGE/") + name);
  }

  static QByteArray bytes(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
  }

 private slots:
  void theProgramComesUpWithTheLanguagesItCanRead_data() {
    QTest::addColumn<bool>("per_user");
    QTest::addColumn<QString>("entry");   // in LANGUAGE before the start
    QTest::addColumn<QString>("kind");    // of the entry: folder, fifo, zero (a link to /dev/zero) or file
    QTest::addColumn<QString>("chosen");  // language in Velstrom.xml; none when empty
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("skipped");   // the reason given for the entry; none when empty
    QTest::addColumn<QString>("language");  // in use, as Velstrom.xml keeps it at the end

    const QStringList all{"Deutsch.lng", "English.lng", "Italiano.lng", "Deutsch.bmp", ".shipped"};
    const QStringList all_but_deutsch{"English.lng", "Italiano.lng", "Deutsch.bmp", ".shipped"};
    const QString is_a_directory = QString::fromStdString(std::make_error_code(std::errc::is_a_directory).message());
    QTest::newRow("given, new folder") << false << QString() << QString() << QString() << all << QString() << "English";
    QTest::newRow("given, a language of the user's") << false << "Mine.lng"
                                                     << "file"
                                                     << "Mine" << QStringList() << QString() << "Mine";
    QTest::newRow("given, only a flag of the user's")
        << false << "Deutsch.bmp"
        << "file"
        << "Deutsch" << QStringList{"Deutsch.lng", "English.lng", "Italiano.lng", ".shipped"} << QString() << "Deutsch";
    QTest::newRow("given, a folder Deutsch.lng, Deutsch chosen")
        << false << "Deutsch.lng"
        << "folder"
        << "Deutsch" << all_but_deutsch << is_a_directory << "English";
    QTest::newRow("per-user, a folder Deutsch.lng, Deutsch chosen")
        << true << "Deutsch.lng"
        << "folder"
        << "Deutsch" << all_but_deutsch << is_a_directory << "English";
    QTest::newRow("per-user, a FIFO Deutsch.lng, Deutsch chosen")
        << true << "Deutsch.lng"
        << "fifo"
        << "Deutsch" << all_but_deutsch << "not a regular file"
        << "English";
    QTest::newRow("per-user, a link to /dev/zero as Deutsch.lng, Deutsch chosen")
        << true << "Deutsch.lng"
        << "zero"
        << "Deutsch" << all_but_deutsch << "not a regular file"
        << "English";
    QTest::newRow("per-user, a FIFO .shipped, Italiano chosen") << true << ".shipped"
                                                                << "fifo"
                                                                << "Italiano" << all << "not a regular file"
                                                                << "Italiano";
  }

  void theProgramComesUpWithTheLanguagesItCanRead() {
    QFETCH(bool, per_user);
    QFETCH(QString, entry);
    QFETCH(QString, kind);
    QFETCH(QString, chosen);
    QFETCH(QStringList, installed);
    QFETCH(QString, skipped);
    QFETCH(QString, language);

    const QDir beside_program = QFileInfo(QStringLiteral(SW48230_PROGRAM_PATH)).dir();
    if (per_user &&
        (beside_program.exists(QStringLiteral("PROJECTS")) || beside_program.exists(QStringLiteral("Velstrom.xml")))) {
      QSKIP("the program's folder is a portable copy, so the per-user folder is not used");
    }
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir program(per_user ? root.filePath(QStringLiteral("SW48230")) : root.filePath(QStringLiteral("given")));
    const QDir languages(program.filePath(QStringLiteral("LANGUAGE")));
    QVERIFY(QDir().mkpath(languages.path()));
    if (!chosen.isEmpty()) {
      sw48230::test::write_fixture(program.filePath(QStringLiteral("Velstrom.xml")),
                                   "<C><lastlang><language>" + chosen.toUtf8() + "</language></lastlang></C>");
    }
    const QString entry_path = languages.filePath(entry);
    if (kind == QStringLiteral("folder")) QVERIFY(QDir().mkpath(entry_path));
    if (kind == QStringLiteral("fifo")) QCOMPARE(::mkfifo(QFile::encodeName(entry_path).constData(), 0600), 0);
    if (kind == QStringLiteral("zero")) QVERIFY(QFile::link(QStringLiteral("/dev/zero"), entry_path));
    if (kind == QStringLiteral("file")) sw48230::test::write_fixture(entry_path, "STR0 = mine\r\n");

    QProcess configurator;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QStringList arguments{QStringLiteral("--exit-when-shown")};
    if (per_user) {
      environment.insert(QStringLiteral("XDG_DATA_HOME"), root.path());
    } else {
      arguments << QStringLiteral("--program-dir") << program.path();
    }
    configurator.setProcessEnvironment(environment);
    configurator.start(QStringLiteral(SW48230_PROGRAM_PATH), arguments);
    QVERIFY(configurator.waitForStarted(10000));
    // Bounded only so that a start that hangs fails the test instead of it.
    const bool ended = configurator.waitForFinished(60000);
    if (!ended) {
      configurator.kill();
      configurator.waitForFinished(10000);
    }
    QVERIFY2(ended, "the program did not come up");
    const QString errors = QString::fromUtf8(configurator.readAllStandardError());
    QCOMPARE(configurator.exitStatus(), QProcess::NormalExit);
    QCOMPARE(configurator.exitCode(), 0);

    QStringList said = errors.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^sw48230: ")));
    QCOMPARE(said, skipped.isEmpty() ? QStringList()
                                     : QStringList{QStringLiteral("sw48230: skipped ") + entry_path +
                                                   QStringLiteral(": ") + skipped});
    for (const QString& name : installed) {
      if (name == QStringLiteral(".shipped")) {
        QVERIFY2(QFileInfo(languages.filePath(name)).isFile(), qPrintable(name));
      } else {
        QCOMPARE(bytes(languages.filePath(name)), bytes(shipped(name)));
      }
    }
    if (installed.isEmpty()) {
      QCOMPARE(languages.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{entry});
    }
    QVERIFY2(bytes(program.filePath(QStringLiteral("Velstrom.xml")))
                 .contains("<language>" + language.toUtf8() + "</language>"),
             bytes(program.filePath(QStringLiteral("Velstrom.xml"))).constData());
  }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
