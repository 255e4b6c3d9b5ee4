// Data/Idojaras1.dat: the weather and temperature chances of each month and its high-water flag.

#include "reference_sources.h"

#include "core/binary_io.h"
#include "files/scenario_files.h"

#include <cstdio>

namespace mkdata {

void CompileWeather(const Context& ctx) {
    SourceTable table = ReadTable(ctx.assets / "weather" / "months.tsv");
    if (table.rows.size() != 12)
        throw SourceError(table.file, 0,
                          "expected the 12 months, found " + std::to_string(table.rows.size()));
    vezer::WeatherFile file;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        RowReader row(table, i);
        if (row.Int("month", 1, 12) != static_cast<int>(i) + 1)
            row.Fail("months must be listed as 1..12 in order");
        int w1 = row.Int("fair", 0, 100), w2 = row.Int("overcast", 0, 100), w3 = row.Int("rain", 0, 100);
        int w4 = row.Int("snow", 0, 100);
        int t1 = row.Int("frost", 0, 100), t2 = row.Int("cool", 0, 100), t3 = row.Int("warm", 0, 100);
        int flag = row.Int("high_water", 0, 1);
        // The draw takes weather 1 only for r < fair, so fair gives one chance less than its
        // value; a week without frost needs fair, overcast or rain, or the draw never ends.
        if (w1 + w2 < 2)
            row.Fail("fair + overcast must be at least 2 so that every week has a weather that fits it");
        if (w1 + w2 + w3 > 100) row.Fail("fair + overcast + rain must not exceed 100");
        if (w1 + w2 + w3 + w4 != 100)
            row.Fail("snow must be the remainder to 100 of fair, overcast and rain");
        if (t1 + t2 > 100) row.Fail("frost + cool must not exceed 100");
        if (t1 + t2 + t3 != 100) row.Fail("warm must be the remainder to 100 of frost and cool");
        vezer::TWeatherMonth& m = file.months[i + 1];
        m.Weather = {0, w1, w2, w3, w4};
        m.Temperature = {0, t1, t2, t3};
        m.HighWater = flag;
    }
    const vezer::Bytes bytes = vezer::WeatherFileBytes(file);
    // What the game's reader refuses is never written.
    vezer::ParseWeatherFile(bytes, "Data\\Idojaras1.dat");
    WriteOutput(ctx, "Data/Idojaras1.dat", bytes);
    std::printf("Idojaras1.dat: 12 months, check %d\n", bytes.back());
}

} // namespace mkdata
