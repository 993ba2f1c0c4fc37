// Benchmark (not a test): installs the embedded payload into a scratch home several times
// and, in the same run, times Info-ZIP's unzip on the same archive. Prints the medians,
// their ratio and the job's peak memory.
//   bench_install [runs]

#include "install/InstallJob.h"
#include "install/InstallProperties.h"
#include "install/PayloadArchive.h"
#include "platform/SpecialFolders.h"

#include <juce_core/juce_core.h>

#include <sys/resource.h>
#include <cstdlib>
#include <iostream>

namespace
{
    // Times each step of the job by its status messages.
    struct StepTimer : public InstallProgress
    {
        void setStatusMessage (const juce::String& status) override
        {
            const auto now = juce::Time::getMillisecondCounterHiRes();
            if (current.isNotEmpty())
                seconds.set (current, (double) seconds[current] + (now - since) / 1000.0);
            current = status;
            since = now;
        }

        void setProgress (double) override {}
        bool shouldStop() override { return false; }

        juce::String current;
        double since = 0;
        juce::NamedValueSet seconds;
    };

    double median (juce::Array<double> values)
    {
        values.sort();
        const auto n = values.size();
        return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    }

    long peakKilobytes()
    {
        rusage usage {};
        getrusage (RUSAGE_SELF, &usage);
        return usage.ru_maxrss;
    }
}

int main (int argc, char** argv)
{
    const int runs = argc > 1 ? juce::jmax (1, std::atoi (argv[1])) : 5;
    const auto idleKb = peakKilobytes();

    const auto scratch = juce::File::createTempFile ("sorna-bench");
    scratch.createDirectory();
    const auto home = scratch.getChildFile ("home");
    // What a user's machine and the screen's folder checks provide before the job runs.
    for (auto folder : { "tmp", "Desktop", "Plugins" })
        home.getChildFile (folder).createDirectory();
    ::setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
    ::setenv ("TMPDIR", home.getChildFile ("tmp").getFullPathName().toRawUTF8(), 1);
    ::unsetenv ("XDG_CONFIG_HOME");
    ::unsetenv ("XDG_DOCUMENTS_DIR");
    ::unsetenv ("XDG_DESKTOP_DIR");

    const auto zipFile = scratch.getChildFile ("payload.zip");
    zipFile.replaceWithData (PayloadArchive::embeddedData(), PayloadArchive::embeddedSize());

    juce::Array<double> jobSeconds, unzipSeconds;

    for (int run = 0; run < runs; ++run)
    {
        home.getChildFile ("Documents").deleteRecursively();
        const auto programs = home.getChildFile ("Programs");
        programs.deleteRecursively();
        programs.createDirectory();

        InstallOptions options;
        options.pluginRows.add ({ home.getChildFile ("Plugins").getFullPathName(), 2 });
        options.standaloneFolder = programs.getFullPathName();

        InstallProperties properties (SpecialFolders::applicationData());
        properties.loadProperties();
        juce::String errorText;
        StepTimer progress;

        const auto start = juce::Time::getMillisecondCounterHiRes();
        InstallJob (options, properties, errorText, progress).run();
        jobSeconds.add ((juce::Time::getMillisecondCounterHiRes() - start) / 1000.0);
        progress.setStatusMessage ({});

        if (run == runs - 1)
            for (auto& step : progress.seconds)
                std::cout << "  last run, " << step.name.toString() << ": "
                          << juce::String ((double) step.value, 3) << " s\n";

        if (errorText.isNotEmpty())
        {
            std::cerr << "installation reported errors:\n" << errorText << "\n";
            return 1;
        }

        const auto target = scratch.getChildFile ("unzipped");
        target.deleteRecursively();
        juce::ChildProcess unzip;
        const auto unzipStart = juce::Time::getMillisecondCounterHiRes();
        if (! unzip.start (juce::StringArray { "unzip", "-o", "-q", zipFile.getFullPathName(), "-d", target.getFullPathName() }))
        {
            std::cerr << "could not run unzip\n";
            return 1;
        }
        unzip.waitForProcessToFinish (-1);
        unzipSeconds.add ((juce::Time::getMillisecondCounterHiRes() - unzipStart) / 1000.0);
    }

    const auto peakKb = peakKilobytes();
    const auto jobMedian = median (jobSeconds);
    const auto unzipMedian = median (unzipSeconds);

    std::cout << "runs:                    " << runs << "\n"
              << "payload:                 " << PayloadArchive::embeddedSize() << " bytes\n"
              << "job median:              " << juce::String (jobMedian, 3) << " s\n"
              << "unzip -o -q median:      " << juce::String (unzipMedian, 3) << " s\n"
              << "ratio job / unzip:       " << juce::String (jobMedian / unzipMedian, 2) << "\n"
              << "peak memory (idle):      " << idleKb / 1024 << " MB\n"
              << "peak memory (after job): " << peakKb / 1024 << " MB\n"
              << "above idle:              " << (peakKb - idleKb) / 1024 << " MB\n";

    scratch.deleteRecursively();
    return 0;
}
