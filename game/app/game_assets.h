// The game's asset lists: the 73 sprites in load order, the 11 sound effects and the three songs.
#pragma once

// Sprites by their place in the load order. SPRITE_LASER_GLOW is a second sprite of the "Laser" script.
enum Sprite_Id
{
    SPRITE_NONE = -1,
    SPRITE_KVR_STAND = 0,
    SPRITE_KVR_WALK,
    SPRITE_KVR_FLY,
    SPRITE_KVR_JET,
    SPRITE_KVR_DEATH,
    SPRITE_BUGGY_BODY,
    SPRITE_BUGGY_LIGHT_STRIP,
    SPRITE_BUGGY_WHEEL,
    SPRITE_FLOOR_TILES,
    SPRITE_LASER,
    SPRITE_LASER_GLOW,
    SPRITE_BACKGROUND_STRIP,
    SPRITE_BACKGROUND_NEBULA,
    SPRITE_STAR_01,
    SPRITE_STAR_02,
    SPRITE_BACKGROUND,
    SPRITE_BACKGROUND_FAR,
    SPRITE_FOREGROUND,
    SPRITE_FOREGROUND_NEAR,
    SPRITE_COMPLETE_STAR,
    SPRITE_COMPLETED_PANEL,
    SPRITE_METEOR,
    SPRITE_GREEN_BLOCK,
    SPRITE_BOUNCE,
    SPRITE_CROSS,
    SPRITE_SPINNER,
    SPRITE_SPARKLE,
    SPRITE_BLOB,
    SPRITE_DOG,
    SPRITE_MAGNETIC,
    SPRITE_TUBULAR,
    SPRITE_SHOOTER,
    SPRITE_SATURN,
    SPRITE_ZAP,
    SPRITE_DEFENCE,
    SPRITE_LAUNCHER_BASE,
    SPRITE_LAUNCHER_TOP,
    SPRITE_LAUNCHER_TOP_EMPTY,
    SPRITE_MISSILE,
    SPRITE_MISSILE_JET,
    SPRITE_PLAZMA_BALL,
    SPRITE_BOMB,
    SPRITE_TELEPORTER,
    SPRITE_TELEPORT_LINES,
    SPRITE_GUN,
    SPRITE_BRIDGE,
    SPRITE_EXPLOSION_1,
    SPRITE_EXPLOSION_2,
    SPRITE_EXPLOSION_3,
    SPRITE_EXPLOSION_4,
    SPRITE_EXPLOSION,
    SPRITE_GLOW,
    SPRITE_BAR_ICONS,
    SPRITE_BAR,
    SPRITE_BAR_DIVIDER,
    SPRITE_TRUCK,
    SPRITE_ALIEN_BASE,
    SPRITE_ARROWS,
    SPRITE_SCORES,
    SPRITE_HISCORE,
    SPRITE_LIVES,
    SPRITE_TITLE,
    SPRITE_MENU_BLUE,
    SPRITE_MENU_GREEN,
    SPRITE_LOGO_ZARN,
    SPRITE_LOGO_PELLOW,
    SPRITE_LOGO_BRISK,
    SPRITE_LOGO_MUSIC,
    SPRITE_GET_READY,
    SPRITE_GAME_OVER,
    SPRITE_MISSILE_LAUNCH,
    SPRITE_TELEPORT_MESSAGE,
    SPRITE_PLAYERS,
    SPRITE_COUNT
};

// Script names in load order, SPRITE_COUNT of them.
extern const char* const k_sprite_names[];

enum Sound_Id
{
    SOUND_LASER = 0,
    SOUND_PLAZMA,
    SOUND_EXPLOSION_1,
    SOUND_EXPLOSION_2,
    SOUND_EXPLOSION_3,
    SOUND_EXPLOSION_4,
    SOUND_EXPLOSION_5,
    SOUND_THRUST,
    SOUND_PICKUP,
    SOUND_TELEPORT,
    SOUND_EXTRA_LIFE,
    SOUND_COUNT
};

// Sound names in load order; each file is the name followed by ".wav".
extern const char* const k_sound_names[];

// Songs: the title theme (menus, hiscores, credits), the play theme and the new-hiscore theme.
constexpr const char* MUSIC_TITLE = "data/sounds/loseme2.xm";
constexpr const char* MUSIC_PLAY = "data/sounds/fear_mon.xm";
constexpr const char* MUSIC_HISCORE = "data/sounds/breath.xm";

// The maker's line (main menu and credits) and the credits' own lines.
constexpr const char* MAKER_LINE = "KESTROVA TEAM 2026";
constexpr const char* CREDIT_SECOND_LINE = "THANKS FOR PLAYING";
constexpr const char* CREDIT_CODE = "KESTROVA TEAM";
constexpr const char* CREDIT_GRAPHICS = "VORTA5 ASSETS";
constexpr const char* CREDIT_MUSIC = "VORTA5 SYNTH";
constexpr const char* CREDIT_MUSIC_2 = "XM TRACKER SONGS";
