// The combat the page opens on: the README's first combat (two tanks in
// the open), as --save writes it.
export const EXAMPLE =
  '{"general":{"attackerClass":2,"defenderClass":2,"snowOrRain":false},"attacker":{"attackValue":10,"initiative":5,"defenseValue":7,"rangedDefense":0,"experience":0,"firingRange":1,"strength":10,"entrenchment":0,"inRiver":false,"canMoveAfter":false,"outOfFuel":false,"combatSupport":[],"leaderChoice":7},"defender":{"attackValue":8,"initiative":5,"defenseValue":6,"rangedDefense":0,"experience":0,"firingRange":1,"strength":10,"entrenchment":0,"inRiver":false,"outOfAmmo":false,"outOfFuel":false,"combatSupport":[],"leaderChoice":6},"terrain":{"clearOrSandy":true},"artillery":[],"timesAttacked":0}';
