// The level script "data/levels.txt": its tokens, the level table it fills, and the moves from level to
// level.
#include "engine/core/text_file.h"
#include "engine/core/token.h"
#include "engine/core/vorta_log.h"
#include "game/app/app.h"
#include "game/play/world.h"

#include <cmath>
#include <new>

namespace
{
// Token identifiers; the twelve maxima follow the order of the alien kinds.
enum Level_Token_Id
{
    TOKEN_TELEPORT1 = 0,
    TOKEN_TELEPORT2 = 1,
    TOKEN_GUN = 2,
    TOKEN_MAX_LEVEL = 3,
    TOKEN_LEVEL = 4,
    TOKEN_LOCATION = 5,
    TOKEN_FIRE_RATE = 6,
    TOKEN_MAX_METEOR = 7,
    TOKEN_MAX_GREEN_BLOCK = 8,
    TOKEN_MAX_BOUNCE = 9,
    TOKEN_MAX_CROSS = 10,
    TOKEN_MAX_SPINNER = 11,
    TOKEN_MAX_SPARKLE = 12,
    TOKEN_MAX_BLOB = 13,
    TOKEN_MAX_DOG = 14,
    TOKEN_MAX_MAGNETIC = 15,
    TOKEN_MAX_TUBULAR = 16,
    TOKEN_MAX_SHOOTER = 17,
    TOKEN_MAX_SATURN = 18,
};
static_assert(TOKEN_MAX_SATURN - TOKEN_MAX_METEOR == OBJ_SATURN - OBJ_METEOR);

// The level tokens, registered in this order when the program starts.
Token* g_level_tokens = nullptr;
Token g_teleport1("teleport1", TOKEN_TELEPORT1, g_level_tokens);
Token g_teleport2("teleport2", TOKEN_TELEPORT2, g_level_tokens);
Token g_gun("gun", TOKEN_GUN, g_level_tokens);
Token g_max_level("max_level", TOKEN_MAX_LEVEL, g_level_tokens);
Token g_level("level", TOKEN_LEVEL, g_level_tokens);
Token g_location("location", TOKEN_LOCATION, g_level_tokens);
Token g_fire_rate("fire_rate", TOKEN_FIRE_RATE, g_level_tokens);
Token g_max_meteor("max_meteor", TOKEN_MAX_METEOR, g_level_tokens);
Token g_max_green_block("max_green_block", TOKEN_MAX_GREEN_BLOCK, g_level_tokens);
Token g_max_bounce("max_bounce", TOKEN_MAX_BOUNCE, g_level_tokens);
Token g_max_cross("max_cross", TOKEN_MAX_CROSS, g_level_tokens);
Token g_max_spinner("max_spinner", TOKEN_MAX_SPINNER, g_level_tokens);
Token g_max_sparkle("max_sparkle", TOKEN_MAX_SPARKLE, g_level_tokens);
Token g_max_blob("max_blob", TOKEN_MAX_BLOB, g_level_tokens);
Token g_max_dog("max_dog", TOKEN_MAX_DOG, g_level_tokens);
Token g_max_magnetic("max_magnetic", TOKEN_MAX_MAGNETIC, g_level_tokens);
Token g_max_tubular("max_tubular", TOKEN_MAX_TUBULAR, g_level_tokens);
Token g_max_shooter("max_shooter", TOKEN_MAX_SHOOTER, g_level_tokens);
Token g_max_saturn("max_saturn", TOKEN_MAX_SATURN, g_level_tokens);

// Positions and offsets further than this many units from 0 (a hundred turns of the ring), and words that
// read as infinity or not-a-number, are refused: wrapping them onto the ring would never end or lose all
// precision.
constexpr float k_farthest_position = 100.0f * WORLD_WIDTH;

// The record the current player is on while there is no level table (before the script is read).
Level_Record g_no_level;

// Reads a position's number; false (with a log line) when there was a word but it is unusable, and
// false without one when no word is left.
bool Read_Position(Text_File& file, const char* name, int level_number, float& out)
{
    float value = 0.0f;
    if (!file.Read_Float(value))
        return false;
    if (!std::isfinite(value) || std::fabs(value) > k_farthest_position)
    {
        Print_Message("Level %d - %s %g is not a position on the ring; ignored\r\n", level_number, name,
                      static_cast<double>(value));
        return false;
    }
    out = value;
    return true;
}
} // namespace

void App::Load_Levels()
{
    Text_File file;
    if (!file.Load("data/levels.txt", WORD_BLANKS))
        Report_Error(true, "Unable to load level configuratio/r/n");
    Read_Levels(file);
    file.Close();
}

void App::Read_Levels(Text_File& file)
{
    Level_Record* target = nullptr; // the record the per-level tokens write into
    int32_t level_number = 0;       // the number of the last level token, for the log lines
    bool level_refused = false;     // the last level token was refused (and logged)
    // A per-level value with nowhere to go: logged, unless its level token was already.
    auto no_target = [&](const char* name)
    {
        if (!level_refused)
            Print_Message("Level %d - \"%s\" with no level selected; ignored\r\n", level_number, name);
    };
    char word[512];
    while (file.Read_Word(word, sizeof word))
    {
        // A word that begins with "//" starts a comment to the end of its line, as in the settings files.
        if (word[0] == '/' && word[1] == '/')
        {
            char rest[512];
            file.Read_Line(rest, sizeof rest);
            continue;
        }
        const int id = Find_Token(g_level_tokens, word);
        switch (id)
        {
        case TOKEN_TELEPORT1:
            Read_Position(file, word, level_number, teleport_x1);
            break;
        case TOKEN_TELEPORT2:
            Read_Position(file, word, level_number, teleport_x2);
            break;
        case TOKEN_GUN:
            Read_Position(file, word, level_number, gun_x);
            break;
        case TOKEN_MAX_LEVEL:
        {
            int32_t count = 0;
            if (!file.Read_Int(count))
                break;
            if (count < 0 || count > MAX_LEVEL_COUNT)
            {
                Print_Message("Level %d - max_level %d is outside 0 to %d; ignored\r\n", level_number, count,
                              MAX_LEVEL_COUNT);
                break;
            }
            Level_Record* table = new (std::nothrow) Level_Record[count > 0 ? count : 1]();
            if (!table)
            {
                Print_Message("Level %d - no memory for %d levels; max_level ignored\r\n", level_number,
                              count);
                break;
            }
            // The old table goes, and with it every pointer into it.
            delete[] levels;
            levels = table;
            level_count = count;
            target = nullptr;
            level_refused = false;
            current_level = nullptr;
            break;
        }
        case TOKEN_LEVEL:
        {
            int32_t number = 0;
            if (!file.Read_Int(number))
                break;
            level_number = number;
            level_refused = number < 1 || number > level_count;
            if (!level_refused)
                target = &levels[number - 1];
            else
            {
                // The tokens that follow, up to the next good level token, go nowhere.
                target = nullptr;
                Print_Message("Level %d - level number outside 1 to %d; its values are ignored\r\n", number,
                              level_count);
            }
            break;
        }
        case TOKEN_LOCATION:
        {
            float location = 0.0f;
            if (!Read_Position(file, word, level_number, location))
                break;
            if (target)
                target->location = location;
            else
                no_target(word);
            break;
        }
        case -1:
            Print_Message("Level %d - Unrecognised script token \"%s\"\r\n", level_number, word);
            break;
        default:
        {
            // fire_rate and the twelve alien maxima.
            int32_t value = 0;
            if (!file.Read_Int(value))
                break;
            if (target)
            {
                if (id == TOKEN_FIRE_RATE)
                    target->fire_rate = value;
                else
                    target->max_aliens[id - TOKEN_MAX_METEOR] = value;
            }
            else
                no_target(word);
            break;
        }
        }
    }

    if (level_count <= 0 || !levels)
    {
        // Play needs a level to be on: one with no mission offset and no aliens.
        Print_Message("No levels in \"%s\" (max_level missing or 0); playing one empty level\r\n",
                      file.Get_Name()[0] ? file.Get_Name() : "the level script");
        Level_Record* table = new (std::nothrow) Level_Record[1]();
        if (table)
        {
            delete[] levels;
            levels = table;
            level_count = 1;
        }
    }
}

void App::Select_Current_Level()
{
    if (!levels || level_count <= 0)
    {
        current_level = &g_no_level;
        return;
    }
    if (player->level < 0)
        player->level = 0;
    if (player->level >= level_count)
        player->level = level_count - 1;
    current_level = levels + player->level;
}

void App::Advance_Level()
{
    player->level += 1;
    if (player->level >= level_count)
    {
        player->level = level_count > 0 ? level_count - 1 : 0;
        state_timer.Start(20.0f);
        game_state = STATE_COMPLETED;
    }
    Select_Current_Level();
}
