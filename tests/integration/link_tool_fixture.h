#pragma once

// A link tool end to end: the real program on a real pseudo-terminal against the simulator
// program (mapped to COM 3), with the real clock, in a folder of its own.
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

class LinkToolTest : public ::testing::Test {
protected:
    // The tool's program and the simulator's arguments that choose its phone family.
    LinkToolTest(QString tool, QStringList family) : m_tool(std::move(tool)), m_family(std::move(family)) {}
    ~LinkToolTest() override
    {
        if (simulator.state() != QProcess::NotRunning) {
            simulator.terminate();
            simulator.waitForFinished(5000);
        }
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    void startSimulator(const QString& stateFile, const QStringList& extra = {})
    {
        simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        simulator.start(QStringLiteral(DESKHAND_PHONESIM_BIN),
            m_family + QStringList {"--link", path("com3"), "--state", stateFile, "--log", path("commands.log")} + extra);
        ASSERT_TRUE(simulator.waitForStarted(5000));
        QDeadlineTimer deadline(5000);
        while (!QFileInfo(path("com3")).isSymLink() && !deadline.hasExpired())
            QThread::msleep(10);
        ASSERT_TRUE(QFileInfo(path("com3")).isSymLink());
    }

    struct Run {
        int exitCode = -1;
        QJsonObject output;
        QString errors;
    };

    void startLink(QProcess& process, const QStringList& args)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESKHAND_COM3"), path("com3"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        env.remove(QStringLiteral("LANGUAGE"));
        process.setProcessEnvironment(env);
        const QStringList toolArgs = QStringList {m_tool, "--com", "3"} + args;
        if (runner.isEmpty())
            process.start(toolArgs[0], toolArgs.mid(1));
        else
            process.start(runner[0], runner.mid(1) + toolArgs);
    }

    Run link(const QStringList& args)
    {
        QProcess process;
        startLink(process, args);
        return finish(process);
    }

    Run finish(QProcess& process)
    {
        Run run;
        if (!process.waitForFinished(120000)) {
            ADD_FAILURE() << m_tool.toStdString() << " did not finish";
            process.kill();
            return run;
        }
        run.exitCode = process.exitCode();
        run.errors = QString::fromLocal8Bit(process.readAllStandardError());
        const QJsonDocument document = QJsonDocument::fromJson(process.readAllStandardOutput());
        EXPECT_TRUE(document.isObject()) << run.errors.toStdString();
        run.output = document.object();
        return run;
    }

    static QStringList names(const QJsonObject& output, const char* member = "m_strName")
    {
        QStringList list;
        for (const QJsonValue& record : output.value(QLatin1String("records")).toArray())
            list << record.toObject().value(QLatin1String(member)).toString();
        return list;
    }

    QString file(const QString& name, const QByteArray& content)
    {
        QFile out(path(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(content);
        return path(name);
    }

    QByteArrayList logged()
    {
        QFile log(path("commands.log"));
        return log.open(QIODevice::ReadOnly) ? log.readAll().split('\n') : QByteArrayList();
    }

    QTemporaryDir dir;
    QProcess simulator;
    // A program, with its arguments, that runs the tool (another user's, say); none by default.
    QStringList runner;

private:
    QString m_tool;
    QStringList m_family;
};
